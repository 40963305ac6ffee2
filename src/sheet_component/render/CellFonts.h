#pragma once

// Turns the sheets' font descriptions (name, size in points, style code) into Qt fonts. The names
// the sheets use are Windows Chinese font names; "宋体" and the other Song faces map to the Noto
// Serif CJK face, the Hei faces to Noto Sans CJK. Sizes become pixel sizes at 96 dpi so that the
// same font measures and draws alike on screen, in previews and in PDF output (where the painter
// is scaled from 96-dpi pixels to device units).

#include "sheet_component/engine/CellFormat.h"

#include <QFont>
#include <QRawFont>
#include <QStringList>

#include <vector>

namespace vantor {

class CellFonts {
public:
    // The font families tried, in order, for a font name used in a sheet.
    static QStringList familiesFor(const std::string &name);
    // A Qt font for the description, its size a pixel size at 96 dpi multiplied by `zoom`.
    static QFont makeFont(const FontSpec &spec, double zoom = 1.0);
    // Points to pixels at 96 dpi.
    static double pixelSize(int points);

    // Cached lookup by style id: the font of a cell format, the workbook's default font filling
    // in an empty name or size. Cheap when nothing changed; entries refresh themselves when the
    // format behind an id or the default font differs from what was cached.
    const QFont &font(unsigned styleId, const CellFormat &format, const FontSpec &defaultFont);
    // The face the font draws Chinese text with, for placing glyphs without shaping them (the
    // forms' texts need none); invalid when the system has no such face.
    const QRawFont &rawFont(unsigned styleId, const CellFormat &format, const FontSpec &defaultFont);
    void clear() { m_entries.clear(); }

private:
    struct Entry {
        std::string name;
        int size = -1;
        int style = -1;
        QFont font;
        QRawFont raw;
        bool rawLooked = false;
    };
    Entry &entry(unsigned styleId, const CellFormat &format, const FontSpec &defaultFont);
    std::vector<Entry> m_entries;
};

} // namespace vantor
