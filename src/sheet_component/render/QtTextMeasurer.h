#pragma once

// The engine's text measurer backed by the real fonts the renderer draws with, so that best
// column widths and row heights fit the text as it appears on screen and on paper.

#include "sheet_component/engine/TextMeasurer.h"

#include <QFont>

#include <string>
#include <unordered_map>

namespace vantor {

class QtTextMeasurer : public TextMeasurer {
public:
    double textWidth(const FontSpec &font, std::string_view text) const override;
    double lineHeight(const FontSpec &font) const override;

private:
    const QFont &fontFor(const FontSpec &spec) const;
    mutable std::unordered_map<std::string, QFont> m_fonts;
};

} // namespace vantor
