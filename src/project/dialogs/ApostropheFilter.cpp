#include "project/dialogs/ApostropheFilter.h"

#include <QLineEdit>

namespace vantor
{

namespace
{
constexpr QChar kApostrophe = QLatin1Char('\'');
}

QValidator::State ApostropheFilter::validate(QString &input, int &pos) const
{
    const int before = int(input.left(pos).count(kApostrophe));
    input.remove(kApostrophe);
    pos -= before;
    return Acceptable;
}

QString ApostropheFilter::filtered(const QString &text, int maxLength)
{
    QString kept = text;
    kept.remove(kApostrophe);
    return kept.left(maxLength);
}

void ApostropheFilter::install(QLineEdit *box, int maxLength)
{
    box->setValidator(new ApostropheFilter(box));
    box->setMaxLength(maxLength);
}

} // namespace vantor
