#pragma once

// Every PDF the program writes goes through here: painted by QPdfWriter into memory, its text
// layer mended, then saved in one step (a failure leaves the previous file as it was).
//
// The text layer: Qt records, for each glyph of an embedded font, the first Unicode character
// that the font draws with it. The CJK fonts draw a radical and the ideograph it stands for
// with one glyph, and the radicals come first in Unicode, so copying or searching the PDF would
// give "⾦额" and "共1⻚" for 金额 and 共1页. The mend maps those radicals back to their ideographs.

#include <QByteArray>
#include <QPageLayout>
#include <QString>

#include <functional>

class QPdfWriter;

namespace vantor {

namespace PdfFile {

// Rewrites radicals to ideographs in the PDF's ToUnicode maps, in place and without changing
// the length of the file. Returns the number of entries changed.
int mendTextLayer(QByteArray &pdf);

// Paints a PDF with `paint` (which returns false when it cannot) and saves it to `path`. On
// failure returns false with a Chinese message in `error` and leaves `path` untouched.
bool write(const QString &path, const QPageLayout &layout, const std::function<bool(QPdfWriter &)> &paint,
           QString *error);

} // namespace PdfFile

} // namespace vantor
