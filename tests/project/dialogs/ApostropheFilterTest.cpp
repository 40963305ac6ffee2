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

namespace
{

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
}

// Every text box of the dialogs, with its limit. Typing one more character
// than the limit keeps the limit; an apostrophe never gets in.
struct BoxLimit {
    const char *dialog;
    const char *box;
    int limit;
};

class BoxLimits : public ::testing::TestWithParam<BoxLimit>
{
};

std::unique_ptr<QWidget> makeDialog(const std::string &name, test::ScriptedPrompter &prompter)
{
    if (name == "dlgPmprop")
        return std::make_unique<dlgPmprop>(NodePropertiesForm{}, [](const NodeProperties &) {}, prompter);
    if (name == "dlgpwd")
        return std::make_unique<dlgpwd>(false, prompter);
    if (name == "dlgLogin")
        return std::make_unique<dlgLogin>([](const std::string &) { return false; }, prompter);
    if (name == "dlgSheetName")
        return std::make_unique<dlgSheetName>(SheetListRow{}, [](const std::string &, const std::string &) {},
                                              prompter);
    return std::make_unique<dlgFrdb>();
}

TEST_P(BoxLimits, TypingStopsAtTheLimitAndDropsApostrophes)
{
    test::ScopedSettings settings;
    test::ScriptedPrompter prompter;
    const BoxLimit p = GetParam();
    auto dialog = makeDialog(p.dialog, prompter);
    auto *box = dialog->findChild<QLineEdit *>(p.box);
    ASSERT_NE(box, nullptr) << p.box;
    box->clear();
    QTest::keyClicks(box, QString(p.limit + 3, QLatin1Char('\'')));
    EXPECT_TRUE(box->text().isEmpty());
    QTest::keyClicks(box, QString(p.limit, QLatin1Char('7')));
    QTest::keyClicks(box, "8");
    EXPECT_EQ(box->text(), QString(p.limit, QLatin1Char('7')));
    box->clear();
    box->insert(QString(p.limit + 1, QChar(0x4E2D)));
    EXPECT_EQ(box->text().size(), p.limit);
}

INSTANTIATE_TEST_SUITE_P(AllBoxes, BoxLimits,
                         ::testing::Values(BoxLimit{"dlgPmprop", "txtpm", 10}, BoxLimit{"dlgPmprop", "txtdw", 25},
                                           BoxLimit{"dlgPmprop", "txtpgs", 25}, BoxLimit{"dlgPmprop", "txtfzr", 25},
                                           BoxLimit{"dlgPmprop", "txtfrdb", 5}, BoxLimit{"dlgpwd", "txtpwd1", 7},
                                           BoxLimit{"dlgpwd", "txtpwd2", 7}, BoxLimit{"dlgLogin", "txtPassword", 7},
                                           BoxLimit{"dlgSheetName", "txtcode", 9},
                                           BoxLimit{"dlgSheetName", "txtname", 25}, BoxLimit{"dlgFrdb", "txtName", 5}),
                         [](const auto &info) { return std::string(info.param.dialog) + "_" + info.param.box; });

TEST(ApostropheFilter, StoredTextWithApostrophesIsShownWithout)
{
    test::ScriptedPrompter prompter;
    NodePropertiesForm form;
    form.pmname = "A'B";
    form.zczydw = "'''";
    dlgPmprop dialog(form, [](const NodeProperties &) {}, prompter);
    EXPECT_EQ(dialog.txtpm->text(), "AB");
    EXPECT_TRUE(dialog.txtdw->text().isEmpty());
}

} // namespace
