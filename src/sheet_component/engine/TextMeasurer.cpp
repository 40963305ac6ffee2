#include "sheet_component/engine/TextMeasurer.h"

namespace vantor {

namespace {
double emPixels(const FontSpec &font)
{
    const int points = font.size > 0 ? font.size : 9;
    return points * 96.0 / 72.0;
}
} // namespace

double CrudeTextMeasurer::textWidth(const FontSpec &font, std::string_view text) const
{
    // UTF-8: a lead byte of three or more bytes is a CJK-range character, one em wide.
    double ems = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ems += 0.55;
            i += 1;
        } else if (c < 0xE0) {
            ems += 0.6;
            i += 2;
        } else if (c < 0xF0) {
            ems += 1.0;
            i += 3;
        } else {
            ems += 1.0;
            i += 4;
        }
    }
    return ems * emPixels(font);
}

double CrudeTextMeasurer::lineHeight(const FontSpec &font) const
{
    return 1.4 * emPixels(font);
}

} // namespace vantor
