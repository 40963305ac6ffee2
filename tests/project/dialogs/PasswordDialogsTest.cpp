#include "project/ProjectPassword.h"
#include "project/dialogs/dlgLogin.h"
#include "project/dialogs/dlgpwd.h"
#include "support/ScriptedPrompter.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantor;
using Change = ProjectPassword::Change;

namespace {

// Replaces what a box shows, the way a user does: select all, type.
void retype(QLineEdit *box, const QString &text)
{
    box->selectAll();
    box->del();
    for (QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(box, c.toLatin1());
        else
            box->insert(QString(c));
    }
}

TEST(dlgpwd, BoxesDecideTheChangeAndAMismatchKeepsTheDialogOpen)
{
    const std::optional<QString> untouched;
    const struct {
        bool hasPassword;
        std::optional<QString> box1, box2;
        bool accepted;
        Change change;
    } cases[] = {
        {true, untouched, untouched, true, Change::Keep},
        {true, "", "", true, Change::Remove},
        {true, "new", untouched, false, Change::Keep}, // only one box changed
        {true, "Secret", "secret", false, Change::Keep},
        {false, "12345678", "1234567", true, Change::Replace}, // the eighth character is not taken
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.box1.value_or("<untouched>").toStdString());
        test::ScriptedPrompter prompter;
        dlgpwd dialog(c.hasPassword, prompter);
        EXPECT_EQ(dialog.txtpwd1->echoMode(), QLineEdit::Password);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        if (c.box1)
            retype(dialog.txtpwd1, *c.box1);
        if (c.box2)
            retype(dialog.txtpwd2, *c.box2);
        dialog.txtpwd2->setFocus();
        dialog.cmdRight->click();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted);
        EXPECT_EQ(dialog.change(), c.change);
        EXPECT_TRUE(prompter.shown.empty()) << "a mismatch shows no message";
        if (!c.accepted) {
            EXPECT_EQ(QApplication::focusWidget(), dialog.txtpwd1);
        }
    }
}

TEST(dlgpwd, TypingIntoAnUntouchedBoxReplacesThePlaceholder)
{
    test::ScriptedPrompter prompter;
    dlgpwd dialog(true, prompter);
    dialog.txtpwd1->setCursorPosition(dialog.txtpwd1->text().size());
    QTest::keyClicks(dialog.txtpwd1, "x");
    EXPECT_EQ(dialog.box1(), std::optional<std::string>("x"));
    // Deleting one placeholder character empties the box instead of keeping a remnant.
    dialog.txtpwd2->setCursorPosition(dialog.txtpwd2->text().size());
    QTest::keyClick(dialog.txtpwd2, Qt::Key_Backspace);
    EXPECT_EQ(dialog.box2(), std::optional<std::string>(""));
}

TEST(dlgLogin, WrongPasswordsAreAskedAgainUntilTheRightOneAndCancelFails)
{
    test::ScriptedPrompter prompter;
    const std::string hash = ProjectPassword::hash("Ab3", PasswordCost::minimal());
    dlgLogin dialog([&](const std::string &t) { return ProjectPassword::verify(t, hash); }, prompter);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    for (const char *wrong : {"ab3", ""}) {
        retype(dialog.txtPassword, wrong);
        dialog.cmdOK->click();
        EXPECT_FALSE(dialog.LoginSucceeded) << wrong;
        EXPECT_TRUE(dialog.isVisible()) << wrong;
        EXPECT_EQ(dialog.txtPassword->selectedText(), QString(wrong));
    }
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text, "无效的密码，请重试！");
    retype(dialog.txtPassword, "Ab3"); // no limit on attempts
    dialog.cmdOK->click();
    EXPECT_TRUE(dialog.LoginSucceeded);

    dlgLogin cancelled(PasswordCheck{}, prompter);
    cancelled.cmdOK->click();
    EXPECT_FALSE(cancelled.LoginSucceeded); // an empty check never succeeds
    cancelled.cmdCancel->click();
    EXPECT_FALSE(cancelled.LoginSucceeded);
}

} // namespace
