#include "sheet_component/render/PdfFile.h"

#include "common/AtomicFile.h"
#include "sheet_component/render/CellFonts.h"

#include <QBuffer>
#include <QFont>
#include <QPdfWriter>
#include <QRawFont>

#include <unordered_map>
#include <vector>

namespace vantor {

namespace {

constexpr char16_t kFirstIdeograph = 0x4E00, kLastIdeograph = 0x9FFF;
constexpr char16_t kFirstRadical = 0x2E80, kLastRadical = 0x2FDF; // supplement and Kangxi radicals

QString charRange(char16_t first, char16_t last)
{
    QString text;
    text.reserve(last - first + 1);
    for (char32_t c = first; c <= last; ++c)
        text.append(QChar(static_cast<char16_t>(c)));
    return text;
}

// Radical → the ideograph the program's CJK faces draw with the same glyph. Read from the faces
// themselves once per run, so it holds for exactly the fonts that end up in the PDF.
const std::unordered_map<char16_t, char16_t> &radicalIdeographs()
{
    static const std::unordered_map<char16_t, char16_t> map = [] {
        std::unordered_map<char16_t, char16_t> result;
        const QString ideographs = charRange(kFirstIdeograph, kLastIdeograph);
        const QString radicals = charRange(kFirstRadical, kLastRadical);
        for (const QString &family : CellFonts::familiesFor("宋体")) {
            QFont font(family);
            font.setPixelSize(12);
            const QRawFont raw = QRawFont::fromFont(font);
            if (!raw.isValid())
                continue;
            std::unordered_map<quint32, char16_t> byGlyph;
            const QList<quint32> glyphs = raw.glyphIndexesForString(ideographs);
            for (qsizetype i = 0; i < glyphs.size(); ++i)
                if (glyphs[i] != 0)
                    byGlyph.emplace(glyphs[i], static_cast<char16_t>(kFirstIdeograph + i));
            const QList<quint32> radicalGlyphs = raw.glyphIndexesForString(radicals);
            for (qsizetype i = 0; i < radicalGlyphs.size(); ++i) {
                const auto found = byGlyph.find(radicalGlyphs[i]);
                if (radicalGlyphs[i] != 0 && found != byGlyph.end())
                    result.emplace(static_cast<char16_t>(kFirstRadical + i), found->second);
            }
        }
        return result;
    }();
    return map;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

struct HexToken {
    qsizetype at; // position of the first digit
    qsizetype length;
};

// The <…> tokens of one line of a CMap.
std::vector<HexToken> hexTokens(const QByteArray &pdf, qsizetype from, qsizetype to)
{
    std::vector<HexToken> tokens;
    for (qsizetype i = from; i < to; ++i) {
        if (pdf[i] != '<')
            continue;
        const qsizetype close = pdf.indexOf('>', i);
        if (close < 0 || close >= to)
            break;
        tokens.push_back({i + 1, close - i - 1});
        i = close;
    }
    return tokens;
}

bool sameToken(const QByteArray &pdf, const HexToken &a, const HexToken &b)
{
    return a.length == b.length && std::equal(pdf.begin() + a.at, pdf.begin() + a.at + a.length, pdf.begin() + b.at);
}

// Replaces a four-digit destination that is a mapped radical; same length, so nothing moves.
bool mendToken(QByteArray &pdf, const HexToken &token, const std::unordered_map<char16_t, char16_t> &map)
{
    if (token.length != 4)
        return false;
    unsigned value = 0;
    for (qsizetype i = 0; i < 4; ++i) {
        const int digit = hexDigit(pdf[token.at + i]);
        if (digit < 0)
            return false;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    const auto found = map.find(static_cast<char16_t>(value));
    if (value < kFirstRadical || value > kLastRadical || found == map.end())
        return false;
    static const char digits[] = "0123456789ABCDEF";
    for (int i = 3; i >= 0; --i) {
        pdf[token.at + i] = digits[(found->second >> (4 * (3 - i))) & 0xF];
    }
    return true;
}

} // namespace

int PdfFile::mendTextLayer(QByteArray &pdf)
{
    const auto &map = radicalIdeographs();
    if (map.empty())
        return 0;
    int changed = 0;
    for (qsizetype from = pdf.indexOf("begincmap"); from >= 0; from = pdf.indexOf("begincmap", from)) {
        const qsizetype end = pdf.indexOf("endcmap", from);
        if (end < 0)
            break;
        enum { Outside, Chars, Ranges } section = Outside;
        for (qsizetype line = from; line < end;) {
            qsizetype eol = pdf.indexOf('\n', line);
            if (eol < 0 || eol > end)
                eol = end;
            const QByteArrayView text(pdf.constData() + line, eol - line);
            if (text.contains("beginbfchar")) {
                section = Chars;
            } else if (text.contains("beginbfrange")) {
                section = Ranges;
            } else if (text.contains("endbf")) {
                section = Outside;
            } else if (section != Outside) {
                // bfchar: <glyph> <text>; bfrange: <first> <last> <text> or <first> <last> [<text>…].
                // A range with one destination counts up from it: mended only when it is one glyph.
                const std::vector<HexToken> tokens = hexTokens(pdf, line, eol);
                const std::size_t first = section == Chars ? 1 : 2;
                const bool list = text.contains('[');
                if (tokens.size() > first && (section == Chars || list || sameToken(pdf, tokens[0], tokens[1])))
                    for (std::size_t i = first; i < tokens.size(); ++i)
                        changed += mendToken(pdf, tokens[i], map) ? 1 : 0;
            }
            line = eol + 1;
        }
        from = end;
    }
    return changed;
}

bool PdfFile::write(const QString &path, const QPageLayout &layout, const std::function<bool(QPdfWriter &)> &paint,
                    QString *error)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setPageLayout(layout);
        writer.setCreator(QStringLiteral("Vantor"));
        if (!paint(writer)) {
            if (error)
                *error = QStringLiteral("无法生成PDF文件“%1”。").arg(path);
            return false;
        }
    }
    mendTextLayer(bytes);
    try {
        AtomicFile::writeFile(path.toStdString(),
                              std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    } catch (const AtomicFileError &e) {
        if (error)
            *error = QStringLiteral("无法写入文件“%1”：%2")
                         .arg(path, QString::fromStdString(describeFileError(e.errorNumber())));
        return false;
    }
    return true;
}

} // namespace vantor
