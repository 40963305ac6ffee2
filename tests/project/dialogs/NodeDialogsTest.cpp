#include "project/IsoDate.h"
#include "project/ProjectStore.h"
#include "project/dialogs/DefaultRepresentative.h"
#include "project/dialogs/dlgFrdb.h"
#include "project/dialogs/dlgPmprop.h"
#include "support/ScriptedPrompter.h"

#include "DialogTestSupport.h"
#include "project/ProjectTestSupport.h"

#include <QApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vantor;
using namespace std::chrono;

namespace {

// --- dlgPmprop ---------------------------------------------------------

class PmpropTest : public ::testing::Test {
protected:
    NodePropertiesForm filledForm()
    {
        NodePropertiesForm f;
        f.pmname = "某公司评估";
        f.zczydw = "某某有限公司";
        f.zcpgs = "张三";
        f.xmfzr = "李四";
        f.pgjzr = year_month_day{year{2024}, month{6}, day{30}};
        f.frdb = "王五";
        return f;
    }

    test::ScopedSettings m_settings;
    test::MemoryProject m_project;
    ProjectStore &m_store = m_project.store;
    test::ScriptedPrompter m_prompter;
};

TEST_F(PmpropTest, PlaceholderRepresentativeGivesTheSettingsDefault)
{
    DefaultRepresentative::write("赵六");
    NodeProperties p;
    p.pmname = "项目";
    p.frdb = ProjectStore::kUnsetRepresentative;
    m_store.updateNodeProperties(0, p);
    dlgPmprop dialog(
        dlgPmprop::loadForm(m_store, 0), [](const NodeProperties &) {}, m_prompter);
    EXPECT_EQ(dialog.txtfrdb->text(), QStringLiteral("赵六"));
}

TEST_F(PmpropTest, EveryWayOutIsRefusedWhileABoxIsEmptyAndAFailingStoreKeepsTheDialogOpen)
{
    int stored = 0;
    bool fail = true;
    NodePropertiesForm f = filledForm();
    f.xmfzr.clear();
    dlgPmprop dialog(
        f, [&](const NodeProperties &) { fail ? throw std::runtime_error("磁盘已满") : ++stored; }, m_prompter);
    dialog.show();
    dialog.cmdRight->click();
    dialog.cmdCancel->click();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(m_prompter.messages(), (std::vector<std::string>{"无效字符或文本框没有输入内容。", "文本框必须输入内容。",
                                                               "文本框必须输入内容。", "文本框必须输入内容。"}));
    dialog.txtfzr->insert(QStringLiteral("李四"));
    dialog.cmdRight->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(m_prompter.messages().back(), "磁盘已满\n无效字符或文本框没有输入内容。");
    fail = false;
    dialog.cmdRight->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(stored, 1);
}

TEST_F(PmpropTest, EnterWalksTheBoxesDownToTheDate)
{
    int stored = 0;
    dlgPmprop dialog(
        filledForm(), [&](const NodeProperties &) { ++stored; }, m_prompter);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.txtpm->setFocus();
    const QWidget *expected[] = {dialog.txtdw, dialog.txtpgs, dialog.txtfzr, dialog.DTPicker1};
    for (const QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ASSERT_TRUE(dialog.isVisible());
        const QWidget *focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == next || next->isAncestorOf(focus)) << next->objectName().toStdString();
    }
    EXPECT_EQ(stored, 0) << "Enter in the first four boxes never confirms";
}

// --- dlgFrdb -----------------------------------------------------------

TEST(dlgFrdb, ShowsAndStoresTheSettingsValue)
{
    test::ScopedSettings settings;
    {
        dlgFrdb dialog;
        EXPECT_TRUE(dialog.txtName->text().isEmpty());
        dialog.txtName->insert(QStringLiteral("王五"));
        dialog.OKButton->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    dlgFrdb again;
    EXPECT_EQ(again.txtName->text(), QStringLiteral("王五"));
    again.show();
    again.txtName->clear();
    again.OKButton->click(); // an empty name cannot be confirmed
    EXPECT_TRUE(again.isVisible());
    again.CancelButton->click();
    EXPECT_EQ(DefaultRepresentative::read(), QStringLiteral("王五"));
}

} // namespace
