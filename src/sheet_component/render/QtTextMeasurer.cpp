#include "sheet_component/render/QtTextMeasurer.h"

#include "sheet_component/render/CellFonts.h"

#include <QFontMetricsF>
#include <QString>

namespace vantor {

const QFont &QtTextMeasurer::fontFor(const FontSpec &spec) const
{
    std::string key = spec.name;
    key += '\x1f';
    key += std::to_string(spec.size);
    key += '\x1f';
    key += std::to_string(spec.style);
    auto it = m_fonts.find(key);
    if (it == m_fonts.end())
        it = m_fonts.emplace(std::move(key), CellFonts::makeFont(spec)).first;
    return it->second;
}

double QtTextMeasurer::textWidth(const FontSpec &font, std::string_view text) const
{
    const QFontMetricsF metrics(fontFor(font));
    return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

double QtTextMeasurer::lineHeight(const FontSpec &font) const
{
    return QFontMetricsF(fontFor(font)).lineSpacing();
}

} // namespace vantor
