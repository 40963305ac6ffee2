#pragma once

// Font metrics for best column widths and row heights. The engine has no fonts of its own: the
// widget installs a measurer backed by real fonts (Workbook::setTextMeasurer). Without one the
// engine uses CrudeTextMeasurer, which estimates from character counts.
// All results are pixels at 96 dpi.

#include "sheet_component/engine/CellFormat.h"

#include <string_view>

namespace vantor {

class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Width of one line of text (no line breaks) in the given font.
    virtual double textWidth(const FontSpec &font, std::string_view text) const = 0;
    // Height of one line of text in the given font, leading included.
    virtual double lineHeight(const FontSpec &font) const = 0;
};

// Wide (CJK) characters count one em, others half an em; a line is 1.4 em high.
class CrudeTextMeasurer : public TextMeasurer {
public:
    double textWidth(const FontSpec &font, std::string_view text) const override;
    double lineHeight(const FontSpec &font) const override;
};

} // namespace vantor
