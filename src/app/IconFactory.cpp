#include "app/IconFactory.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace vantor {

namespace {

const QColor kInk(0x33, 0x3a, 0x44);
const QColor kBlue(0x2f, 0x6f, 0xb8);
const QColor kPaper(0xff, 0xff, 0xff);
const QColor kYellow(0xe8, 0xb9, 0x3c);
const QColor kGreen(0x3a, 0x8f, 0x4f);
const QColor kRed(0xc0, 0x39, 0x2b);

void page(QPainter &p, const QRectF &r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 7, r.top());
    path.lineTo(r.right(), r.top() + 7);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 7, r.top()), QPointF(r.right() - 7, r.top() + 7));
    p.drawLine(QPointF(r.right() - 7, r.top() + 7), QPointF(r.right(), r.top() + 7));
}

void lines(QPainter &p, const QRectF &r, int count, Qt::Alignment align)
{
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::FlatCap));
    const qreal step = r.height() / (count - 1);
    for (int i = 0; i < count; ++i) {
        const qreal w = (i % 2 == 0) ? r.width() : r.width() * 0.6;
        qreal x = r.left();
        if (align & Qt::AlignHCenter)
            x = r.center().x() - w / 2;
        else if (align & Qt::AlignRight)
            x = r.right() - w;
        const qreal y = r.top() + i * step;
        p.drawLine(QPointF(x, y), QPointF(x + w, y));
    }
}

void letter(QPainter &p, const QString &text, bool bold, bool italic, bool underline, const QColor &c = kInk)
{
    QFont f("DejaVu Serif");
    f.setPixelSize(24);
    f.setBold(bold);
    f.setItalic(italic);
    f.setUnderline(underline);
    p.setFont(f);
    p.setPen(c);
    p.drawText(QRectF(0, 0, 32, 30), Qt::AlignCenter, text);
}

void arrow(QPainter &p, QPointF from, QPointF to, const QColor &c)
{
    p.setPen(QPen(c, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    QLineF l(to, from);
    QLineF a = l;
    a.setLength(7);
    a.setAngle(l.angle() + 35);
    QLineF b = l;
    b.setLength(7);
    b.setAngle(l.angle() - 35);
    p.drawLine(a);
    p.drawLine(b);
}

void grid(QPainter &p, const QRectF &r, int cols, int rows)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(kPaper);
    p.drawRect(r);
    for (int c = 1; c < cols; ++c) {
        const qreal x = r.left() + r.width() * c / cols;
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    }
    for (int i = 1; i < rows; ++i) {
        const qreal y = r.top() + r.height() * i / rows;
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

void draw(QPainter &p, IconKind kind)
{
    switch (kind) {
    case IconKind::None:
        break;
    case IconKind::New:
        page(p, QRectF(7, 3, 18, 26));
        p.setPen(QPen(kGreen, 2.5));
        p.drawLine(QPointF(22, 20), QPointF(22, 30));
        p.drawLine(QPointF(17, 25), QPointF(27, 25));
        break;
    case IconKind::Open: {
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(kYellow.lighter(120));
        p.drawRect(QRectF(3, 8, 22, 18));
        QPainterPath front;
        front.moveTo(6, 13);
        front.lineTo(29, 13);
        front.lineTo(25, 26);
        front.lineTo(3, 26);
        front.closeSubpath();
        p.setBrush(kYellow);
        p.drawPath(front);
        break;
    }
    case IconKind::Close:
        page(p, QRectF(6, 3, 18, 26));
        p.setPen(QPen(kRed, 2.5));
        p.drawLine(QPointF(18, 19), QPointF(28, 29));
        p.drawLine(QPointF(28, 19), QPointF(18, 29));
        break;
    case IconKind::Save:
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.drawRect(QRectF(8, 18, 16, 10));
        break;
    case IconKind::Excel:
        grid(p, QRectF(4, 6, 24, 20), 3, 4);
        p.setPen(QPen(kGreen, 3));
        p.drawLine(QPointF(9, 10), QPointF(17, 22));
        p.drawLine(QPointF(17, 10), QPointF(9, 22));
        break;
    case IconKind::PageSetup:
        page(p, QRectF(6, 3, 20, 26));
        p.setPen(QPen(kBlue, 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(10, 10, 12, 15));
        break;
    case IconKind::Print:
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(0xb0, 0xb8, 0xc4));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 20, 14, 9));
        break;
    case IconKind::Exit:
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(0xd8, 0xc0, 0x9c));
        p.drawRect(QRectF(5, 3, 14, 26));
        arrow(p, QPointF(14, 16), QPointF(29, 16), kRed);
        break;
    case IconKind::Undo: {
        p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(7, 9, 20, 16), -90 * 16, 180 * 16);
        arrow(p, QPointF(17, 9), QPointF(7, 9), kBlue);
        break;
    }
    case IconKind::Redo:
        p.setPen(QPen(kBlue, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 9, 20, 16), 90 * 16, 180 * 16);
        arrow(p, QPointF(15, 9), QPointF(25, 9), kBlue);
        break;
    case IconKind::Cut:
        p.setPen(QPen(kInk, 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(5, 20, 8, 8));
        p.drawEllipse(QRectF(19, 20, 8, 8));
        p.drawLine(QPointF(11, 21), QPointF(22, 4));
        p.drawLine(QPointF(21, 21), QPointF(10, 4));
        break;
    case IconKind::Copy:
        page(p, QRectF(4, 3, 15, 20));
        page(p, QRectF(13, 9, 15, 20));
        break;
    case IconKind::Paste:
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(0xc8, 0x9b, 0x5c));
        p.drawRoundedRect(QRectF(4, 5, 18, 23), 2, 2);
        p.setBrush(QColor(0x99, 0x99, 0x99));
        p.drawRect(QRectF(9, 2, 8, 5));
        page(p, QRectF(14, 12, 14, 18));
        break;
    case IconKind::Find:
        p.setPen(QPen(kInk, 2.5));
        p.setBrush(QColor(0xdd, 0xee, 0xff));
        p.drawEllipse(QRectF(4, 4, 16, 16));
        p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18, 18), QPointF(27, 27));
        break;
    case IconKind::SelectAll:
        grid(p, QRectF(4, 4, 24, 24), 3, 3);
        p.fillRect(QRectF(4, 4, 24, 24), QColor(0x2f, 0x6f, 0xb8, 90));
        break;
    case IconKind::Clear:
        grid(p, QRectF(4, 4, 24, 24), 3, 3);
        p.setPen(QPen(kRed, 3));
        p.drawLine(QPointF(10, 10), QPointF(22, 22));
        p.drawLine(QPointF(22, 10), QPointF(10, 22));
        break;
    case IconKind::Delete:
        p.setPen(QPen(kRed, 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(24, 24));
        p.drawLine(QPointF(24, 8), QPointF(8, 24));
        break;
    case IconKind::Sum:
        letter(p, QString(QChar(0x03A3)), true, false, false, kBlue);
        break;
    case IconKind::SortAscending:
    case IconKind::SortDescending: {
        const bool up = kind == IconKind::SortAscending;
        QFont f("DejaVu Sans");
        f.setPixelSize(12);
        f.setBold(true);
        p.setFont(f);
        p.setPen(kInk);
        p.drawText(QRectF(2, 1, 14, 15), Qt::AlignCenter, up ? "A" : "Z");
        p.drawText(QRectF(2, 16, 14, 15), Qt::AlignCenter, up ? "Z" : "A");
        arrow(p, QPointF(23, 4), QPointF(23, 28), kBlue);
        break;
    }
    case IconKind::Help:
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(3, 3, 26, 26));
        letter(p, "?", true, false, false, kPaper);
        break;
    case IconKind::About:
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(3, 3, 26, 26));
        letter(p, "i", true, false, false, kPaper);
        break;
    case IconKind::PaneSwitch:
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(kPaper);
        p.drawRect(QRectF(3, 4, 26, 24));
        p.fillRect(QRectF(4, 5, 9, 23), QColor(0xdd, 0xe6, 0xf3));
        p.drawLine(QPointF(13, 4), QPointF(13, 28));
        p.setPen(QPen(kBlue, 2));
        for (int y = 9; y <= 23; y += 5)
            p.drawLine(QPointF(6, y), QPointF(11, y));
        break;
    case IconKind::Bold:
        letter(p, "B", true, false, false);
        break;
    case IconKind::Italic:
        letter(p, "I", false, true, false);
        break;
    case IconKind::Underline:
        letter(p, "U", false, false, true);
        break;
    case IconKind::AlignLeft:
        lines(p, QRectF(4, 7, 24, 18), 4, Qt::AlignLeft);
        break;
    case IconKind::AlignCenter:
        lines(p, QRectF(4, 7, 24, 18), 4, Qt::AlignHCenter);
        break;
    case IconKind::AlignRight:
        lines(p, QRectF(4, 7, 24, 18), 4, Qt::AlignRight);
        break;
    case IconKind::Merge:
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(kPaper);
        p.drawRect(QRectF(3, 7, 26, 18));
        arrow(p, QPointF(5, 16), QPointF(14, 16), kBlue);
        arrow(p, QPointF(27, 16), QPointF(18, 16), kBlue);
        break;
    case IconKind::Unmerge:
        grid(p, QRectF(3, 7, 26, 18), 2, 1);
        arrow(p, QPointF(13, 16), QPointF(5, 16), kBlue);
        arrow(p, QPointF(19, 16), QPointF(27, 16), kBlue);
        break;
    case IconKind::Calculator:
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(QColor(0xe4, 0xe7, 0xeb));
        p.drawRoundedRect(QRectF(6, 3, 20, 26), 2, 2);
        p.setBrush(QColor(0xcf, 0xe8, 0xcf));
        p.drawRect(QRectF(9, 6, 14, 6));
        p.setBrush(kInk);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                p.drawRect(QRectF(9.5 + c * 5, 15 + r * 4.5, 3, 2.5));
        break;
    case IconKind::Password:
        p.setPen(QPen(kInk, 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(10, 3, 12, 14), 0, 180 * 16);
        p.drawLine(QPointF(10, 10), QPointF(10, 15));
        p.drawLine(QPointF(22, 10), QPointF(22, 15));
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(kYellow);
        p.drawRoundedRect(QRectF(6, 14, 20, 15), 2, 2);
        break;
    case IconKind::Properties:
        page(p, QRectF(6, 3, 20, 26));
        lines(p, QRectF(10, 12, 12, 12), 4, Qt::AlignLeft);
        break;
    case IconKind::Import:
        grid(p, QRectF(12, 8, 17, 20), 2, 3);
        arrow(p, QPointF(2, 14), QPointF(14, 14), kGreen);
        break;
    case IconKind::Overview:
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRect(QRectF(5, 16, 5, 12));
        p.setBrush(kGreen);
        p.drawRect(QRectF(13, 8, 5, 20));
        p.setBrush(kYellow);
        p.drawRect(QRectF(21, 12, 5, 16));
        p.setPen(QPen(kInk, 1.5));
        p.drawLine(QPointF(3, 28), QPointF(29, 28));
        break;
    case IconKind::InsertRows:
        grid(p, QRectF(4, 4, 24, 24), 1, 4);
        p.fillRect(QRectF(5, 11, 23, 5), QColor(0x3a, 0x8f, 0x4f, 140));
        break;
    case IconKind::InsertCol:
        grid(p, QRectF(4, 4, 24, 24), 4, 1);
        p.fillRect(QRectF(11, 5, 5, 23), QColor(0x3a, 0x8f, 0x4f, 140));
        break;
    case IconKind::Freeze:
        grid(p, QRectF(4, 4, 24, 24), 1, 4);
        p.setPen(QPen(kBlue, 3));
        p.drawLine(QPointF(4, 16), QPointF(28, 16));
        break;
    }
}

} // namespace

QIcon iconFor(IconKind kind)
{
    if (kind == IconKind::None)
        return QIcon();
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(size / 32.0, size / 32.0);
        draw(p, kind);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace vantor
