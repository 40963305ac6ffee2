#pragma once

// Writes a report book (see ReportBook) as one PDF file: the contents pages first, then every form
// in the book's order, each page painted by the same page printer as the print preview, each form
// on the paper orientation its layout chose and with its own page numbers. Every form, and the
// contents, is a bookmark of the file.
//
// Qt's PDF writer paints pages strictly in order and knows no bookmarks, while the contents can
// only be filled in once every form has been paginated: so the forms are painted first, the
// contents after them, and QPDF then moves the contents pages to the front and adds the outline.
// The file is written whole or not at all.

#include <stdexcept>
#include <string>

namespace vantor {

class PrintProgress;
class ReportBook;

class ReportPdfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ReportPdf {
public:
    // Throws ReportPdfError with a message for the user, PrintCancelled when `progress` is
    // cancelled (no file is written then). Needs a Qt GUI application.
    static void write(ReportBook &book, const std::string &path, PrintProgress *progress = nullptr);
};

} // namespace vantor
