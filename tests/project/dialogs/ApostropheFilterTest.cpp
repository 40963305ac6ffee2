#include "project/dialogs/ApostropheFilter.h"
#include "project/dialogs/dlgFrdb.h"
#include "project/dialogs/dlgLogin.h"
#include "project/dialogs/dlgPmprop.h"
#include "project/dialogs/dlgSheetName.h"
#include "project/dialogs/dlgpwd.h"
#include "support/ScriptedPrompter.h"

#include "DialogTestSupport.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace vantor;

namespace {

TEST(ApostropheFilter, PastedTextLosesItsApostrophesAndKeepsTheCursor)
{
    QLineEdit box;
    ApostropheFilter::install(&box, 25);
    box.insert(QStringLiteral("O'Brien''s 公司"));
    EXPECT_EQ(box.text(), QStringLiteral("OBriens 公司"));
    box.setCursorPosition(1);
    box.insert(QStringLiteral("'x'"));
    EXPECT_EQ(box.text(), QStringLiteral("OxBriens 公司"));
    EXPECT_EQ(box.cursorPosition(), 2);
    // Stored text with apostrophes is shown without.
    test::ScriptedPrompter prompter;
    NodePropertiesForm form;
    form.pmname = "A'B";
    dlgPmprop dialog(
        form, [](const NodeProperties &) {}, prompter);
    EXPECT_EQ(dialog.txtpm->text(), "AB");
}

std::unique_ptr<QWidget> makeDialog(const std::string &name, test::ScriptedPrompter &prompter)
{
    if (name == "dlgPmprop")
        return std::make_unique<dlgPmprop>(
            NodePropertiesForm{}, [](const NodeProperties &) {}, prompter);
    if (name == "dlgpwd")
        return std::make_unique<dlgpwd>(false, prompter);
    if (name == "dlgLogin")
        return std::make_unique<dlgLogin>([](const std::string &) { return false; }, prompter);
    if (name == "dlgSheetName")
        return std::make_unique<dlgSheetName>(
            SheetListRow{}, [](const std::string &, const std::string &) {}, prompter);
    return std::make_unique<dlgFrdb>();
}

// No text box of the dialogs takes an apostrophe, typed or inserted. (How many characters a
// box holds is its own setting; HostileTextTest checks that none keeps more.)
TEST(ApostropheFilter, NoBoxOfTheDialogsTakesAnApostrophe)
{
    test::ScopedSettings settings;
    for (const char *name : {"dlgPmprop", "dlgpwd", "dlgLogin", "dlgSheetName", "dlgFrdb"}) {
        test::ScriptedPrompter prompter;
        auto dialog = makeDialog(name, prompter);
        for (QLineEdit *box : dialog->findChildren<QLineEdit *>()) {
            SCOPED_TRACE(std::string(name) + "." + box->objectName().toStdString());
            box->clear();
            QTest::keyClicks(box, "a'b");
            box->insert(QStringLiteral("'"));
            EXPECT_FALSE(box->text().contains(QLatin1Char('\''))) << box->text().toStdString();
        }
    }
}

} // namespace
