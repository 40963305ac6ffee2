#include "project/ProjectStore.h"
#include "project/dialogs/SignatoryTable.h"
#include "project/dialogs/dlgSheetName.h"
#include "project/dialogs/dlgSheetProp.h"
#include "support/ScriptedPrompter.h"

#include "project/ProjectTestSupport.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace vantor;
using namespace std::chrono;

namespace {

constexpr year_month_day kToday{year{2024}, month{3}, day{5}};

TEST(SignatoryTable, DateColumnTellsValidInvalidAndBlank)
{
    using D = SignatoryTable::DateText;
    const std::pair<const char *, D> cases[] = {
        {"2024年 3月 5日", D::Valid},   {"2024年02月29日", D::Valid}, {"2023年02月29日", D::Invalid},
        {"2024年04月31日", D::Invalid}, {"2024-04-01", D::Invalid},   {"    年  月  日", D::Blank},
    };
    for (const auto &[text, kind] : cases)
        EXPECT_EQ(SignatoryTable::classifyDate(text), kind) << text;
    EXPECT_EQ(SignatoryTable::parseDate(SignatoryTable::formatDate(kToday)), kToday);
}

// --- dlgSheetProp -------------------------------------------------------

class SheetPropTest : public ::testing::Test {
protected:
    SheetPropTest()
    {
        for (int16_t id : {1, 2, 3, 4, 10, 16})
            m_store.insertSheet({id, "表" + std::to_string(id), "第" + std::to_string(id) + "表"});
    }

    test::MemoryProject m_project;
    ProjectStore &m_store = m_project.store;
    test::ScriptedPrompter m_prompter;
};

TEST_F(SheetPropTest, OkStoresTheEditedRowsForTheNode)
{
    dlgSheetProp dialog(
        m_store.signatorySheets(0, ProjectKind::DataEntry), kToday,
        [&](const std::vector<SheetSignatories> &rows) { m_store.replaceSignatories(0, rows); }, m_prompter);
    ASSERT_EQ(dialog.Cell1->rowCount(), 4); // sheets 3, 4, 10, 16: the summary ones from 3 and the details
    EXPECT_FALSE(dialog.Cell1->item(0, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_EQ(dialog.Cell1->item(2, 4)->text(), QStringLiteral("2024年03月05日"));
    dialog.Cell1->item(1, 2)->setText(QStringLiteral("填表人"));
    dialog.Cell1->item(1, 4)->setText(QStringLiteral("2023年12月31日"));
    dialog.Cell1->item(3, 3)->setText(QStringLiteral("评估员"));
    dialog.cmdRight->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    auto rows = m_store.signatories(0);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_TRUE(rows[0].id == 4 && rows[0].tbr == "填表人");
    EXPECT_EQ(rows[0].tbrq, (year_month_day{year{2023}, month{12}, day{31}}));
    EXPECT_TRUE(rows[1].id == 16 && rows[1].pgry == "评估员" && rows[1].tbrq == kToday);
}

// A date that is no date warns when its cell is left and keeps OK from storing anything.
TEST_F(SheetPropTest, TypingIntoTheDateEditorFollowsThePattern)
{
    int stored = 0;
    dlgSheetProp dialog(
        m_store.signatorySheets(0, ProjectKind::DataEntry), kToday,
        [&](const std::vector<SheetSignatories> &) { ++stored; }, m_prompter);
    dialog.show();
    // Return commits a complete date; leaving the cell commits whatever it holds.
    auto edit = [&](int row, const char *digits, bool byReturn = true) {
        QTableWidgetItem *item = dialog.Cell1->item(row, 4);
        dialog.Cell1->setCurrentItem(item);
        dialog.Cell1->editItem(item);
        // Closed editors linger hidden until deleted: take the open one.
        QLineEdit *editor = nullptr;
        for (QLineEdit *e : dialog.Cell1->viewport()->findChildren<QLineEdit *>())
            if (e->isVisible())
                editor = e;
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        editor->del();
        editor->home(false);
        QTest::keyClicks(editor, digits);
        if (byReturn)
            QTest::keyClick(editor, Qt::Key_Return);
        else
            dialog.Cell1->setCurrentCell(row, SignatoryTable::PreparerColumn);
        QCoreApplication::processEvents(); // the view commits the editor's data queued
    };
    edit(0, "20230615");
    EXPECT_EQ(dialog.table().rows()[0].date, "2023年06月15日");
    EXPECT_TRUE(m_prompter.shown.empty());
    dialog.Cell1->item(3, 2)->setText(QStringLiteral("甲"));
    edit(3, "2024", false);
    ASSERT_EQ(m_prompter.messages().size(), 1u) << "a partial date is no date";
    EXPECT_EQ(m_prompter.messages()[0].rfind("类型不匹配:\n\n[2024年", 0), 0u) << m_prompter.messages()[0];
    dialog.cmdRight->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(stored, 0);
    edit(3, "20230228");
    dialog.cmdRight->click();
    EXPECT_EQ(stored, 1);
}

TEST_F(SheetPropTest, FillButtonCopiesDownAndRefusesTwoColumns)
{
    dlgSheetProp dialog(
        m_store.signatorySheets(0, ProjectKind::DataEntry), kToday, [](const std::vector<SheetSignatories> &) {},
        m_prompter);
    dialog.Cell1->item(0, 3)->setText(QStringLiteral("王"));
    dialog.Cell1->setRangeSelected(QTableWidgetSelectionRange(0, 3, 3, 3), true);
    dialog.cmdFill->click();
    EXPECT_EQ(dialog.Cell1->item(3, 3)->text(), QStringLiteral("王"));
    EXPECT_TRUE(dialog.Cell1->item(3, 2)->text().isEmpty()); // one column only
    dialog.Cell1->clearSelection();
    dialog.Cell1->setRangeSelected(QTableWidgetSelectionRange(0, 2, 3, 3), true);
    dialog.cmdFill->click();
    EXPECT_EQ(m_prompter.messages(), std::vector<std::string>{"选择的区域太大，只能在某一列范围内复制单元数据。"});
}

// --- dlgSheetName -------------------------------------------------------

TEST(dlgSheetName, EmptyBoxOrFailingStoreStaysOpen)
{
    test::ScriptedPrompter prompter;
    std::string stored;
    bool fail = true;
    dlgSheetName dialog(
        {16, "表3-4", "应收账款清查评估明细表"},
        [&](const std::string &c, const std::string &n) {
            if (fail)
                throw std::runtime_error("数据库只读");
            stored = c + "|" + n;
        },
        prompter);
    dialog.show();
    dialog.txtname->clear();
    dialog.cmdRight->click();
    dialog.txtname->insert(QStringLiteral("应收账款"));
    dialog.cmdRight->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompter.messages(), (std::vector<std::string>{dlgSheetName::kEmpty, "数据库只读"}));
    fail = false;
    dialog.cmdRight->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(stored, "表3-4|应收账款");
}

} // namespace
