#include "sheet_component/render/CellRenderer.h"

#include "sheet_component/engine/DisplayFormat.h"
#include "sheet_component/engine/Workbook.h"
#include "sheet_component/render/SheetGeometry.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>
#include <vector>

namespace vantor {

namespace {

constexpr double kPadX = 3.0;
constexpr double kPadY = 1.0;
const QColor kText(0, 0, 0);
const QColor kBorder(0, 0, 0);
const QColor kBevelLight(255, 255, 255);
const QColor kBevelDark(128, 128, 128);
const QColor kHeaderFace(240, 240, 240);
const QColor kHeaderSelected(204, 218, 238);
const QColor kHeaderLine(176, 176, 176);

// Lines lie on the boundaries between cells: a boundary at X is drawn as the strip [X-1, X-1+t),
// so the right edge of one cell and the left edge of the next give the same pixels. A strip is
// never thinner than one device pixel, or it would vanish when pages are drawn at low resolution.
double minimumWidth(const QPainter &p, bool vertical)
{
    const double scale = std::abs(vertical ? p.transform().m11() : p.transform().m22());
    return scale > 0 ? 1.0 / scale : 1.0;
}

void vLine(QPainter &p, double x, double y1, double y2, double t, const QColor &c)
{
    p.fillRect(QRectF(x - 1, y1, std::max(t, minimumWidth(p, true)), y2 - y1), c);
}

void hLine(QPainter &p, double x1, double x2, double y, double t, const QColor &c)
{
    p.fillRect(QRectF(x1, y - 1, x2 - x1, std::max(t, minimumWidth(p, false))), c);
}

// The text as glyphs of one face placed side by side, and its width: a form's texts (Chinese,
// digits, Latin letters) need no shaping, and shaping every cell of a long form twice (to measure
// and to draw) is most of what printing it costs. Nothing when the face lacks a character; such
// text takes the shaping path with the font's fallbacks.
std::optional<std::pair<QGlyphRun, double>> placedGlyphs(const QRawFont &raw, const QString &text)
{
    if (!raw.isValid())
        return std::nullopt;
    const QList<quint32> glyphs = raw.glyphIndexesForString(text);
    if (glyphs.isEmpty() || glyphs.contains(0u))
        return std::nullopt;
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    double x = 0;
    for (const QPointF &advance : advances) {
        positions.append(QPointF(x, 0));
        x += advance.x();
    }
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    return std::make_pair(std::move(run), x);
}

int horizontalFlags(const CellFormat &f, const CellValue &v)
{
    switch (f.alignment) {
    case AlignLeft:
        return Qt::AlignLeft;
    case AlignRight:
    case AlignRight2:
        return Qt::AlignRight;
    case AlignCenter:
        return Qt::AlignHCenter;
    default:
        if (v.isNumber())
            return Qt::AlignRight;
        if (v.isError())
            return Qt::AlignHCenter;
        return Qt::AlignLeft;
    }
}

} // namespace

struct CellRenderer::CellBox {
    QRectF rect;
    const CellFormat *format;
    CellValue value;
    StyleId style;
    double overflowRight; // extra width text may use to the right (overflow style)
};

CellRenderer::CellRenderer(const Workbook &workbook) : m_workbook(workbook) {}

QString CellRenderer::columnName(int col)
{
    QString name;
    for (int c = col; c >= 0; c = c / 26 - 1)
        name.prepend(QChar('A' + c % 26));
    return name;
}

int CellRenderer::columnHeaderHeight(double zoom)
{
    return static_cast<int>(std::lround(20 * zoom));
}

int CellRenderer::rowHeaderWidth(int rowCount, double zoom)
{
    int digits = 1;
    for (int n = std::max(rowCount, 1); n >= 10; n /= 10)
        ++digits;
    return static_cast<int>(std::lround((16 + 8 * std::max(digits, 3)) * zoom));
}

void CellRenderer::paintCell(QPainter &p, const CellBox &box, const RenderOptions &o)
{
    const CellFormat &f = *box.format;
    const QRectF &r = box.rect;
    if (f.threeD == 1 || f.threeD == 2)
        p.fillRect(r, o.threeDFace);
    if (f.locked && o.lockedBackground)
        p.fillRect(r, o.lockedColor);
    if (f.threeD == 1 || f.threeD == 2) {
        const QColor &tl = f.threeD == 1 ? kBevelLight : kBevelDark;
        const QColor &br = f.threeD == 1 ? kBevelDark : kBevelLight;
        p.fillRect(QRectF(r.left(), r.top(), r.width() - 1, 1), tl);
        p.fillRect(QRectF(r.left(), r.top(), 1, r.height() - 1), tl);
        p.fillRect(QRectF(r.left(), r.bottom() - 2, r.width() - 1, 1), br);
        p.fillRect(QRectF(r.right() - 2, r.top(), 1, r.height() - 1), br);
    }
    if (box.value.isEmpty())
        return;
    QString text = QString::fromStdString(formatCellValue(box.value, f));
    if (text.isEmpty())
        return;
    const int hflags = horizontalFlags(f, box.value);
    QRectF textRect = r.adjusted(kPadX, kPadY, -kPadX - 1, -kPadY - 1);
    if (f.textStyle == 2 && hflags == Qt::AlignLeft)
        textRect.setRight(textRect.right() + box.overflowRight);
    if (textRect.width() <= 0 || textRect.height() <= 0)
        return;
    const QFont &font = m_fonts.font(box.style, f, m_workbook.defaultFont());
    p.setFont(font);
    p.setPen(kText);
    const bool breaks = text.contains(u'\r') || text.contains(u'\n');
    if (!breaks) {
        // Text that fits needs no clip; a clip per cell costs a graphics state per text in a PDF.
        const QFontMetricsF metrics(font);
        // A picture (the print preview records its pages as pictures) would keep placed glyphs as
        // outlines, a path per character: there the text goes in as text.
        const bool picture = p.paintEngine() && p.paintEngine()->type() == QPaintEngine::Picture;
        auto placed =
            picture ? std::nullopt : placedGlyphs(m_fonts.rawFont(box.style, f, m_workbook.defaultFont()), text);
        const double needed = placed ? placed->second : metrics.horizontalAdvance(text);
        if (needed <= textRect.width() + 0.5 && metrics.ascent() <= textRect.height()) {
            // Placed by hand at its baseline: the rectangle form of drawText lays the text out as a
            // paragraph again, which on a printed form costs more than everything else per cell.
            double x = textRect.left();
            if (hflags == Qt::AlignRight)
                x = textRect.right() - needed;
            else if (hflags == Qt::AlignHCenter)
                x = textRect.left() + (textRect.width() - needed) / 2;
            const double y =
                textRect.top() + (textRect.height() - metrics.ascent() - metrics.descent()) / 2 + metrics.ascent();
            if (placed) {
                placed->first.setUnderline(font.underline());
                p.drawGlyphRun(QPointF(x, y), placed->first);
            } else {
                p.drawText(QPointF(x, y), text);
            }
            return;
        }
        if (box.value.isNumber()) {
            const double factor = textRect.width() / needed;
            if (o.shrinkNumbers && factor >= 0.5) {
                // On paper a number cut off at one side would read as a different amount.
                QFont smaller = font;
                smaller.setPixelSize(std::max(1, static_cast<int>(std::floor(font.pixelSize() * factor))));
                p.setFont(smaller);
                p.drawText(textRect, hflags | Qt::AlignVCenter, text);
            } else {
                // Elsewhere a number too wide shows "###" rather than a different amount.
                p.drawText(
                    textRect, hflags | Qt::AlignVCenter,
                    QString(std::max(1, static_cast<int>(textRect.width() / metrics.horizontalAdvance(u'#'))), u'#'));
            }
            return;
        }
    }
    paintFitted(p, text, font, textRect, hflags);
}

CellRenderer::FittedText CellRenderer::fitText(const QString &text, const QFont &font, const QSizeF &room)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    plain.replace(u'\r', u'\n');
    const QStringList paragraphs = plain.split(u'\n');
    auto wrap = [&](const QFont &f) {
        QStringList lines;
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        for (const QString &paragraph : paragraphs) {
            QTextLayout layout(paragraph, f);
            layout.setTextOption(option);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(room.width());
                lines << paragraph.mid(line.textStart(), line.textLength());
            }
            layout.endLayout();
            if (paragraph.isEmpty())
                lines << QString();
        }
        return lines;
    };
    // Wrapped over the lines the cell holds, a size smaller at a time down to the legible limit;
    // only at that size is the rest cut off, with an ellipsis, at a character boundary.
    const int limit = static_cast<int>(std::ceil(CellFonts::pixelSize(MinimumPoints)));
    FittedText fitted{font, {}};
    for (int px = std::max(font.pixelSize(), 1);; --px) {
        fitted.font.setPixelSize(px);
        fitted.lines = wrap(fitted.font);
        const QFontMetricsF metrics(fitted.font);
        const auto fits = static_cast<qsizetype>(std::max(1.0, std::floor(room.height() / metrics.lineSpacing())));
        if (fitted.lines.size() <= fits)
            return fitted;
        if (px <= limit) {
            QString rest = fitted.lines.mid(fits - 1).join(QString());
            fitted.lines = fitted.lines.mid(0, fits - 1);
            fitted.lines << metrics.elidedText(rest + QChar(0x2026), Qt::ElideRight, room.width());
            return fitted;
        }
    }
}

void CellRenderer::paintFitted(QPainter &p, const QString &text, const QFont &font, const QRectF &rect, int hflags)
{
    const FittedText fitted = fitText(text, font, rect.size());
    const QFontMetricsF metrics(fitted.font);
    const double step = metrics.lineSpacing();
    const double height = step * static_cast<double>(fitted.lines.size());
    double y = rect.top() + std::max(0.0, (rect.height() - height) / 2);
    p.setFont(fitted.font);
    p.save();
    p.setClipRect(rect.adjusted(-kPadX, -kPadY, kPadX, kPadY), Qt::IntersectClip);
    for (const QString &line : fitted.lines) {
        p.drawText(QRectF(rect.left(), y, rect.width(), step), hflags | Qt::AlignVCenter | Qt::TextDontClip, line);
        y += step;
    }
    p.restore();
}

void CellRenderer::paintCells(QPainter &p, int sheetIndex, const SheetGeometry &geo, const CellRange &requested,
                              QPointF origin, const RenderOptions &o)
{
    const Sheet &sheet = m_workbook.sheet(sheetIndex);
    const StyleTable &styles = m_workbook.styles();
    CellRange range = requested;
    range.col2 = std::min(range.col2, sheet.cols() - 1);
    range.row2 = std::min(range.row2, sheet.rows() - 1);
    range.col1 = std::max(range.col1, 0);
    range.row1 = std::max(range.row1, 0);
    if (range.isEmpty())
        return;

    p.save();
    p.translate(origin);
    p.scale(o.zoom, o.zoom);
    p.setRenderHint(QPainter::Antialiasing, o.smoothLines);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const double x0 = geo.colX(range.col1);
    const double y0 = geo.rowY(range.row1);
    auto cellRect = [&](int c1, int r1, int c2, int r2) {
        return QRectF(geo.colX(c1) - x0, geo.rowY(r1) - y0, geo.colX(c2 + 1) - geo.colX(c1),
                      geo.rowY(r2 + 1) - geo.rowY(r1));
    };
    if (o.fillBackground)
        p.fillRect(cellRect(range.col1, range.row1, range.col2, range.row2), Qt::white);

    m_merges.clear();
    for (const CellRange &m : sheet.merges())
        if (m.intersects(range))
            m_merges.push_back(m);
    auto mergeOf = [&](int c, int r) -> const CellRange * {
        for (const CellRange &m : m_merges)
            if (m.contains(c, r))
                return &m;
        return nullptr;
    };

    // Numbers in columns with a display style of their own show in that style.
    const ColumnNumberStyles columnStyles = m_columnRule ? m_columnRule(sheet.label()) : ColumnNumberStyles{};
    CellFormat ruled;
    auto applyColumnStyle = [&](CellBox &box, int c, int r) {
        if (columnStyles.columns.empty() || !box.value.isNumber() || box.format->number.kind != 0)
            return;
        if (const NumberStyle *number = columnStyles.at(c, r)) {
            ruled = *box.format;
            ruled.number = *number;
            box.format = &ruled;
        }
    };

    // Merged blocks: one background and one text each, taken from the top-left cell.
    for (const CellRange &m : m_merges) {
        const StyleId id = sheet.styleId(m.col1, m.row1);
        CellBox box{cellRect(m.col1, m.row1, m.col2, m.row2), &styles.format(id), sheet.value(m.col1, m.row1), id, 0};
        applyColumnStyle(box, m.col1, m.row1);
        paintCell(p, box, o);
    }

    // Single cells, then the grid. Blank cells beyond the stored part of a row cost nothing but
    // their grid lines.
    for (int r = range.row1; r <= range.row2; ++r) {
        const double top = geo.rowY(r) - y0;
        const double bottom = geo.rowY(r + 1) - y0;
        if (bottom <= top)
            continue;
        const int stored = sheet.storedCols(r);
        for (int c = range.col1; c <= range.col2; ++c) {
            const double left = geo.colX(c) - x0;
            const double right = geo.colX(c + 1) - x0;
            if (right <= left)
                continue;
            const CellRange *m = m_merges.empty() ? nullptr : mergeOf(c, r);
            if (!m && c < stored) {
                const StyleId id = sheet.styleId(c, r);
                if (id != 0 || !sheet.value(c, r).isEmpty()) {
                    CellBox box{QRectF(left, top, right - left, bottom - top), &styles.format(id), sheet.value(c, r),
                                id, 0};
                    if (box.format->textStyle == 2) {
                        // Overflow text runs on over empty neighbours.
                        for (int n = c + 1; n < sheet.cols() && n <= c + 16; ++n) {
                            if (!sheet.value(n, r).isEmpty() || mergeOf(n, r))
                                break;
                            box.overflowRight += geo.colWidth(n);
                        }
                    }
                    applyColumnStyle(box, c, r);
                    paintCell(p, box, o);
                }
            }
            if (o.showGrid) {
                if (!m || c == m->col2)
                    vLine(p, right, top, bottom, 1, o.gridColor);
                if (!m || r == m->row2)
                    hLine(p, left, right, bottom, 1, o.gridColor);
            }
        }
    }

    // Borders last so that nothing covers them; inner sides of merged blocks are skipped. Edges
    // that continue each other on one line are drawn as one stroke: a bordered table is then a
    // few lines instead of four per cell, which keeps PDF pages small and fast to write.
    struct Segment {
        int thickness;
        double at, from, to;
    };
    std::vector<Segment> across, down;
    for (int r = range.row1; r <= range.row2; ++r) {
        const int stored = std::min(sheet.storedCols(r), range.col2 + 1);
        for (int c = range.col1; c < stored; ++c) {
            const StyleId id = sheet.styleId(c, r);
            if (id == 0)
                continue;
            const CellBorders &b = styles.format(id).borders;
            if (!b.any())
                continue;
            const CellRange *m = m_merges.empty() ? nullptr : mergeOf(c, r);
            const QRectF rc = cellRect(c, r, c, r);
            if (b.left && (!m || c == m->col1))
                down.push_back({b.left, rc.left(), rc.top() - 1, rc.bottom()});
            if (b.right && (!m || c == m->col2))
                down.push_back({b.right, rc.right(), rc.top() - 1, rc.bottom()});
            if (b.top && (!m || r == m->row1))
                across.push_back({b.top, rc.top(), rc.left() - 1, rc.right()});
            if (b.bottom && (!m || r == m->row2))
                across.push_back({b.bottom, rc.bottom(), rc.left() - 1, rc.right()});
        }
    }
    auto strokes = [](std::vector<Segment> &segments, auto draw) {
        std::sort(segments.begin(), segments.end(), [](const Segment &a, const Segment &b) {
            return std::tie(a.thickness, a.at, a.from) < std::tie(b.thickness, b.at, b.from);
        });
        for (std::size_t i = 0; i < segments.size();) {
            Segment line = segments[i];
            for (++i; i < segments.size() && segments[i].thickness == line.thickness && segments[i].at == line.at &&
                      segments[i].from <= line.to;
                 ++i)
                line.to = std::max(line.to, segments[i].to);
            draw(line);
        }
    };
    strokes(down, [&](const Segment &s) { vLine(p, s.at, s.from, s.to, s.thickness, kBorder); });
    strokes(across, [&](const Segment &s) { hLine(p, s.from, s.to, s.at, s.thickness, kBorder); });
    p.restore();
}

void CellRenderer::paintColumnHeaders(QPainter &p, const SheetGeometry &geo, int col1, int col2, const QRectF &area,
                                      const RenderOptions &o, int selCol1, int selCol2)
{
    p.save();
    p.setClipRect(area);
    p.fillRect(area, kHeaderFace);
    p.translate(area.topLeft());
    p.scale(o.zoom, o.zoom);
    const double h = area.height() / o.zoom;
    const double x0 = geo.colX(col1);
    p.setFont(CellFonts::makeFont(FontSpec{"宋体", 9, 0}));
    p.setPen(kText);
    for (int c = col1; c <= col2 && c < geo.cols(); ++c) {
        const QRectF rc(geo.colX(c) - x0, 0, geo.colWidth(c), h);
        if (rc.width() <= 0)
            continue;
        if (c >= selCol1 && c <= selCol2)
            p.fillRect(rc, kHeaderSelected);
        p.drawText(rc, Qt::AlignCenter, columnName(c));
        vLine(p, rc.right(), 0, h, 1, kHeaderLine);
    }
    hLine(p, 0, area.width() / o.zoom, h, 1, kHeaderLine);
    p.restore();
}

void CellRenderer::paintRowHeaders(QPainter &p, const SheetGeometry &geo, int row1, int row2, const QRectF &area,
                                   const RenderOptions &o, int selRow1, int selRow2)
{
    p.save();
    p.setClipRect(area);
    p.fillRect(area, kHeaderFace);
    p.translate(area.topLeft());
    p.scale(o.zoom, o.zoom);
    const double w = area.width() / o.zoom;
    const double limit = area.height() / o.zoom;
    const double y0 = geo.rowY(row1);
    p.setFont(CellFonts::makeFont(FontSpec{"宋体", 9, 0}));
    p.setPen(kText);
    for (int r = row1; r <= row2 && r < geo.rows(); ++r) {
        const QRectF rc(0, geo.rowY(r) - y0, w, geo.rowHeight(r));
        if (rc.top() > limit)
            break;
        if (rc.height() <= 0)
            continue;
        if (r >= selRow1 && r <= selRow2)
            p.fillRect(rc, kHeaderSelected);
        p.drawText(rc, Qt::AlignCenter, QString::number(r + 1));
        hLine(p, 0, w, rc.bottom(), 1, kHeaderLine);
    }
    vLine(p, w, 0, limit, 1, kHeaderLine);
    p.restore();
}

} // namespace vantor
