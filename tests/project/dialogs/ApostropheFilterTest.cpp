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

// Every text box of the dialogs, with its limit. Typing one more character than the limit
// keeps the limit (a Chinese character counts as one); an apostrophe never gets in.
TEST(ApostropheFilter, EveryBoxStopsAtItsLimitAndDropsApostrophes)
{
    const struct {
        const char *dialog, *box;
        int limit;
    } boxes[] = {{"dlgPmprop", "txtpm", 10},      {"dlgPmprop", "txtdw", 25},     {"dlgPmprop", "txtpgs", 25},
                 {"dlgPmprop", "txtfzr", 25},     {"dlgPmprop", "txtfrdb", 5},    {"dlgpwd", "txtpwd1", 7},
                 {"dlgpwd", "txtpwd2", 7},        {"dlgLogin", "txtPassword", 7}, {"dlgSheetName", "txtcode", 9},
                 {"dlgSheetName", "txtname", 25}, {"dlgFrdb", "txtName", 5}};
    test::ScopedSettings settings;
    for (const auto &b : boxes) {
        SCOPED_TRACE(std::string(b.dialog) + "." + b.box);
        test::ScriptedPrompter prompter;
        auto dialog = makeDialog(b.dialog, prompter);
        auto *box = dialog->findChild<QLineEdit *>(b.box);
        ASSERT_NE(box, nullptr);
        box->clear();
        QTest::keyClicks(box, QString(b.limit + 3, QLatin1Char('\'')));
        EXPECT_TRUE(box->text().isEmpty());
        QTest::keyClicks(box, QString(b.limit, QLatin1Char('7')));
        QTest::keyClicks(box, "8");
        EXPECT_EQ(box->text(), QString(b.limit, QLatin1Char('7')));
        box->clear();
        box->insert(QString(b.limit + 1, QChar(0x4E2D)));
        EXPECT_EQ(box->text().size(), b.limit);
    }
}

} // namespace
