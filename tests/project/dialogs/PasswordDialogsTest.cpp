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

namespace
{

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

TEST(dlgpwd, BothBoxesUnchangedKeepThePassword)
{
    test::ScriptedPrompter prompter;
    dlgpwd dialog(true, prompter);
    EXPECT_FALSE(dialog.txtpwd1->text().isEmpty()) << "the placeholder is shown";
    EXPECT_EQ(dialog.box1(), std::nullopt);
    EXPECT_EQ(dialog.box2(), std::nullopt);
    dialog.cmdRight->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.change(), Change::Keep);
}

TEST(dlgpwd, EqualNewTextsReplace)
{
    test::ScriptedPrompter prompter;
    dlgpwd dialog(true, prompter);
    retype(dialog.txtpwd1, "Abc12");
    retype(dialog.txtpwd2, "Abc12");
    EXPECT_EQ(dialog.box1(), std::optional<std::string>("Abc12"));
    dialog.cmdRight->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.change(), Change::Replace);
    EXPECT_TRUE(prompter.shown.empty());
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

TEST(dlgpwd, DifferentTextsAreRefusedWithTheFocusInTheFirstBox)
{
    test::ScriptedPrompter prompter;
    dlgpwd dialog(true, prompter);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    retype(dialog.txtpwd1, "abc");
    retype(dialog.txtpwd2, "abd");
    dialog.txtpwd2->setFocus();
    dialog.cmdRight->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(QApplication::focusWidget(), dialog.txtpwd1);
    EXPECT_TRUE(prompter.shown.empty()) << "a mismatch shows no message";
}

TEST(dlgpwd, ChangingOnlyOneBoxIsAMismatch)
{
    test::ScriptedPrompter prompter;
    dlgpwd dialog(true, prompter);
    dialog.show();
    retype(dialog.txtpwd1, "new");
    dialog.cmdRight->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.change(), Change::Keep);
}

TEST(dlgpwd, CaseMattersForEquality)
{
    test::ScriptedPrompter prompter;
    dlgpwd dialog(true, prompter);
    dialog.show();
    retype(dialog.txtpwd1, "Secret");
    retype(dialog.txtpwd2, "secret");
    dialog.cmdRight->click();
    EXPECT_TRUE(dialog.isVisible());
}

TEST(dlgpwd, EmptyTextsRemoveThePassword)
{
    test::ScriptedPrompter prompter;
    dlgpwd dialog(true, prompter);
    retype(dialog.txtpwd1, "");
    retype(dialog.txtpwd2, "");
    dialog.cmdRight->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.change(), Change::Remove);
}

TEST(dlgpwd, WithoutAPasswordTheBoxesStartEmptyAndEmptyOkKeeps)
{
    test::ScriptedPrompter prompter;
    dlgpwd dialog(false, prompter);
    EXPECT_TRUE(dialog.txtpwd1->text().isEmpty());
    EXPECT_TRUE(dialog.txtpwd2->text().isEmpty());
    EXPECT_EQ(dialog.box1(), std::optional<std::string>(""));
    dialog.cmdRight->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.change(), Change::Keep);
}

TEST(dlgpwd, AnEighthCharacterCannotBeTyped)
{
    test::ScriptedPrompter prompter;
    dlgpwd dialog(false, prompter);
    QTest::keyClicks(dialog.txtpwd1, "12345678");
    QTest::keyClicks(dialog.txtpwd2, "1234567");
    EXPECT_EQ(dialog.box1(), std::optional<std::string>("1234567"));
    dialog.cmdRight->click();
    EXPECT_EQ(dialog.change(), Change::Replace);
}

TEST(dlgpwd, BoxesMaskEveryCharacter)
{
    test::ScriptedPrompter prompter;
    dlgpwd dialog(true, prompter);
    EXPECT_EQ(dialog.txtpwd1->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.txtpwd2->echoMode(), QLineEdit::Password);
}

TEST(dlgpwd, CancelChangesNothing)
{
    test::ScriptedPrompter prompter;
    dlgpwd dialog(true, prompter);
    retype(dialog.txtpwd1, "a");
    retype(dialog.txtpwd2, "a");
    dialog.cmdCancel->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.change(), Change::Keep);
}

TEST(dlgpwd, TheDialogsBoxesApplyToTheStoredHash)
{
    // What the main window does after OK: the hash in the store verifies the
    // new password and nothing else.
    test::ScriptedPrompter prompter;
    dlgpwd dialog(true, prompter);
    retype(dialog.txtpwd1, "密码1");
    retype(dialog.txtpwd2, "密码1");
    dialog.cmdRight->click();
    ASSERT_EQ(dialog.change(), Change::Replace);
    const std::string hash = ProjectPassword::hash(*dialog.box1(), PasswordCost::minimal());
    EXPECT_TRUE(ProjectPassword::verify("密码1", hash));
    EXPECT_FALSE(ProjectPassword::verify("密码", hash));
}

class LoginTest : public ::testing::Test
{
  protected:
    const std::string m_hash = ProjectPassword::hash("Ab'3", PasswordCost::minimal());
    PasswordCheck m_check = [this](const std::string &typed) { return ProjectPassword::verify(typed, m_hash); };
    test::ScriptedPrompter m_prompter;
};

TEST_F(LoginTest, RightPasswordSucceeds)
{
    const std::string hash = ProjectPassword::hash("Ab3", PasswordCost::minimal());
    dlgLogin dialog([&](const std::string &t) { return ProjectPassword::verify(t, hash); }, m_prompter);
    QTest::keyClicks(dialog.txtPassword, "Ab3");
    dialog.cmdOK->click();
    EXPECT_TRUE(dialog.LoginSucceeded);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(m_prompter.shown.empty());
}

TEST_F(LoginTest, WrongPasswordIsRefusedAndAskedAgainWithTheTextSelected)
{
    const std::string hash = ProjectPassword::hash("Ab3", PasswordCost::minimal());
    dlgLogin dialog([&](const std::string &t) { return ProjectPassword::verify(t, hash); }, m_prompter);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    for (const char *wrong : {"ab3", "AB3", "Ab", ""}) {
        retype(dialog.txtPassword, wrong);
        dialog.cmdOK->click();
        EXPECT_FALSE(dialog.LoginSucceeded) << wrong;
        EXPECT_TRUE(dialog.isVisible()) << wrong;
        EXPECT_EQ(dialog.txtPassword->selectedText(), QString(wrong));
    }
    ASSERT_EQ(m_prompter.shown.size(), 4u);
    EXPECT_EQ(m_prompter.shown[0].text, "无效的密码，请重试！");
    EXPECT_EQ(m_prompter.shown[0].title, "安全验证");
    EXPECT_EQ(m_prompter.shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(QApplication::focusWidget(), dialog.txtPassword);
    // No limit on attempts: the right one still gets in.
    retype(dialog.txtPassword, "Ab3");
    dialog.cmdOK->click();
    EXPECT_TRUE(dialog.LoginSucceeded);
}

TEST_F(LoginTest, ApostropheInAStoredPasswordCannotBeTyped)
{
    // A hash made outside the dialog with an apostrophe: the box drops it, so
    // typing it never matches. The dialog must not crash or succeed.
    dlgLogin dialog(m_check, m_prompter);
    QTest::keyClicks(dialog.txtPassword, "Ab'3");
    EXPECT_EQ(dialog.txtPassword->text(), "Ab3");
    dialog.cmdOK->click();
    EXPECT_FALSE(dialog.LoginSucceeded);
}

TEST_F(LoginTest, CancelFails)
{
    dlgLogin dialog(m_check, m_prompter);
    dialog.LoginSucceeded = true;
    dialog.cmdCancel->click();
    EXPECT_FALSE(dialog.LoginSucceeded);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(LoginTest, AnEmptyCheckNeverSucceeds)
{
    dlgLogin dialog(PasswordCheck{}, m_prompter);
    dialog.cmdOK->click();
    EXPECT_FALSE(dialog.LoginSucceeded);
}

} // namespace
