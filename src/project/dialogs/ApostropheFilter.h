#pragma once

// The typing rule shared by every text box whose value goes into the project
// database or the settings store: the apostrophe is dropped as it is typed or
// pasted, and the box holds at most a fixed number of characters. The store
// binds every value, so this is a rule of the forms, not a defence of the SQL.

#include <QString>
#include <QValidator>

class QLineEdit;

namespace vantor {

class ApostropheFilter : public QValidator {
    Q_OBJECT
public:
    explicit ApostropheFilter(QObject *parent = nullptr) : QValidator(parent) {}

    // Removes apostrophes from `input`, moving `pos` back by the ones before
    // it; every remaining text is acceptable.
    State validate(QString &input, int &pos) const override;

    // The text a box keeps of `text`: without apostrophes, cut to maxLength.
    static QString filtered(const QString &text, int maxLength);

    // Puts the rule on a box: the filter as its validator and the limit as its
    // maximum length (a Chinese character counts as one).
    static void install(QLineEdit *box, int maxLength);
};

} // namespace vantor
