#include "sheet_component/render/CellFonts.h"

#include <QFontDatabase>

#include <cmath>

namespace vantor {

namespace {

const QString kSerif = QStringLiteral("Noto Serif CJK SC");
const QString kSans = QStringLiteral("Noto Sans CJK SC");

bool contains(const std::string &name, const char *part)
{
    return name.find(part) != std::string::npos;
}

} // namespace

QStringList CellFonts::familiesFor(const std::string &name)
{
    if (name.empty() || contains(name, "宋") || contains(name, "仿宋") || contains(name, "楷") ||
        contains(name, "SimSun") || contains(name, "NSimSun") || contains(name, "FangSong") || contains(name, "KaiTi"))
        return {kSerif, kSans};
    if (contains(name, "黑") || contains(name, "雅黑") || contains(name, "SimHei") || contains(name, "YaHei"))
        return {kSans, kSerif};
    return {QString::fromStdString(name), kSans, kSerif};
}

double CellFonts::pixelSize(int points)
{
    return (points > 0 ? points : 9) * 96.0 / 72.0;
}

QFont CellFonts::makeFont(const FontSpec &spec, double zoom)
{
    QFont font;
    font.setFamilies(familiesFor(spec.name));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixelSize(spec.size) * zoom))));
    font.setBold(fontStyleBold(spec.style));
    font.setItalic(fontStyleItalic(spec.style));
    font.setUnderline(fontStyleUnderline(spec.style));
    return font;
}

CellFonts::Entry &CellFonts::entry(unsigned styleId, const CellFormat &format, const FontSpec &defaultFont)
{
    if (styleId >= m_entries.size())
        m_entries.resize(styleId + 1);
    Entry &e = m_entries[styleId];
    const std::string &name = format.fontName.empty() ? defaultFont.name : format.fontName;
    const int size = format.fontSize > 0 ? format.fontSize : defaultFont.size;
    const int style =
        format.fontName.empty() && format.fontSize <= 0 && format.fontStyle == 0 ? defaultFont.style : format.fontStyle;
    if (e.size != size || e.style != style || e.name != name) {
        e.name = name;
        e.size = size;
        e.style = style;
        e.font = makeFont(FontSpec{name, size, style});
        e.raw = QRawFont();
        e.rawLooked = false;
    }
    return e;
}

const QFont &CellFonts::font(unsigned styleId, const CellFormat &format, const FontSpec &defaultFont)
{
    return entry(styleId, format, defaultFont).font;
}

const QRawFont &CellFonts::rawFont(unsigned styleId, const CellFormat &format, const FontSpec &defaultFont)
{
    Entry &e = entry(styleId, format, defaultFont);
    if (!e.rawLooked) {
        e.raw = QRawFont::fromFont(e.font, QFontDatabase::SimplifiedChinese);
        e.rawLooked = true;
    }
    return e.raw;
}

} // namespace vantor
