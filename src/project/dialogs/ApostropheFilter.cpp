#include "project/dialogs/ApostropheFilter.h"

#include <QLineEdit>

namespace vantor {

namespace {
constexpr QChar kApostrophe = QLatin1Char('\'');

// Whether the UTF-16 unit at i is half of a character whose other half is
// missing. The box's length limit counts units, so a paste that reaches the
// limit can cut a character outside the basic plane (an emoji) in two; half a
// character would reach the database as a replacement mark.
bool isLoneSurrogate(const QString &text, qsizetype i)
{
    const QChar c = text.at(i);
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text.at(i - 1).isHighSurrogate();
    return false;
}

// Removes apostrophes and halves of characters; `pos` moves back by the units
// removed before it.
void clean(QString &text, int &pos)
{
    QString kept;
    kept.reserve(text.size());
    int before = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == kApostrophe || isLoneSurrogate(text, i)) {
            before += i < pos ? 1 : 0;
            continue;
        }
        kept += text.at(i);
    }
    text = kept;
    pos -= before;
}
} // namespace

QValidator::State ApostropheFilter::validate(QString &input, int &pos) const
{
    clean(input, pos);
    return Acceptable;
}

QString ApostropheFilter::filtered(const QString &text, int maxLength)
{
    QString kept = text;
    kept.remove(kApostrophe);
    kept.truncate(maxLength);
    int pos = 0;
    clean(kept, pos);
    return kept;
}

void ApostropheFilter::install(QLineEdit *box, int maxLength)
{
    box->setValidator(new ApostropheFilter(box));
    box->setMaxLength(maxLength);
}

} // namespace vantor
