#pragma once

// Hostile text for the text boxes of any dialog: apostrophes, quotes, SQL,
// 10,000 characters, characters outside the basic plane, control characters.
// pasteIntoEveryBox() pastes each into each box of a dialog and checks what the
// box keeps: the text as given, or the start of it without apostrophes (the
// rule of the boxes whose values reach the database); a box with a validator
// of its own (numbers, dates) may refuse the text. No box keeps half a
// character, whose UTF-8 would be damaged.

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QStringList>

#include <gtest/gtest.h>

namespace vantor::test {

inline const QStringList &hostileTexts()
{
    static const QStringList texts{
        QStringLiteral("O'Brien's"),
        QStringLiteral("\"引号\" 与 “全角”"),
        QStringLiteral("'); DROP TABLE pmprop; --"),
        QString(10000, QChar(0x957F)),
        QStringLiteral("a😀😀😀😀😀😀😀😀😀😀😀😀😀😀"), // four-byte characters across every limit
        QStringLiteral("𠀀𠀁 CJK-B"),
        QStringLiteral("tab\there\x01\x7f\u202e"),
        QStringLiteral("1e308"),
        QStringLiteral("-0,000.5%"),
    };
    return texts;
}

// numbersOnly: the dialog's boxes take numbers and refuse other text their own way.
inline void pasteIntoEveryBox(QWidget &dialog, bool numbersOnly = false)
{
    const auto boxes = dialog.findChildren<QLineEdit *>();
    ASSERT_FALSE(boxes.isEmpty());
    for (QLineEdit *box : boxes) {
        const std::string name = box->objectName().toStdString();
        for (const QString &text : hostileTexts()) {
            box->selectAll();
            box->insert(text);
            const QString shown = box->text();
            EXPECT_LE(shown.size(), box->maxLength()) << name;
            ASSERT_FALSE(!shown.isEmpty() && shown.back().isHighSurrogate())
                << name << " keeps half a character of " << text.toStdString();
            const bool ownRule = box->validator() && !box->validator()->inherits("vantor::ApostropheFilter");
            if (numbersOnly || ownRule || qobject_cast<QAbstractSpinBox *>(box->parentWidget()))
                continue;
            const QString left = QString(text).remove(QLatin1Char('\''));
            EXPECT_TRUE(shown == text || left.startsWith(shown)) << name << ": " << shown.toStdString();
            if (left.size() <= box->maxLength() && !box->validator()) {
                EXPECT_EQ(shown, text) << name;
            }
        }
    }
}

} // namespace vantor::test
