// The calculator window as the user meets it: choosing, computing, the refused box, clear,
// copy and Enter moving on.

#include "calculators/dialogs/frmToolgs.h"

#include "calculators/AppraisalCalculators.h"
#include "support/ScriptedPrompter.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace vantor;

namespace {

struct CalculatorWindow : ::testing::Test {
    test::ScriptedPrompter prompter;
    frmToolgs window{prompter};

    void type(const std::vector<QString> &texts)
    {
        for (std::size_t i = 0; i < texts.size(); ++i)
            window.txts[i]->setText(texts[i]);
    }
    QString result() const { return window.txts[window.resultIndex()]->text(); }
};

TEST_F(CalculatorWindow, ChoosingInTheTreeSwitchesAndEmptiesTheBoxes)
{
    EXPECT_EQ(window.calculator(), 0);
    window.selectCalculator(4);
    EXPECT_FALSE(window.txts[3]->isVisibleTo(&window));
    type({"10", "5"});
    // Choosing another calculator in the tree empties the boxes (computing: Enter below).
    QTreeWidgetItem *item = window.tvTreeView->findItems("年数总和法", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_TRUE(item);
    window.tvTreeView->setCurrentItem(item);
    EXPECT_EQ(window.calculator(), 3);
    EXPECT_TRUE(window.txts[0]->text().isEmpty());
}

TEST_F(CalculatorWindow, RefusedBoxIsEmptiedAndTheResultKept)
{
    window.selectCalculator(12);
    type({"80", "100", "0.6"});
    window.compute();
    const QString before = result();
    window.txts[2]->setText("10.5");
    window.compute();
    EXPECT_EQ(result(), before);
    EXPECT_TRUE(window.txts[2]->text().isEmpty());
    ASSERT_EQ(prompter.messages(), std::vector<std::string>{AppraisalCalculators::MayBeWrong});
    EXPECT_EQ(prompter.shown.back().title, AppraisalCalculators::MessageTitle);
}

TEST_F(CalculatorWindow, ClearAndCopy)
{
    window.selectCalculator(2);
    type({"5"});
    window.compute();
    window.copyResult();
    EXPECT_EQ(QApplication::clipboard()->text(), "40.00000");
    window.clearBoxes();
    EXPECT_TRUE(result().isEmpty());
}

TEST_F(CalculatorWindow, EnterMovesToTheNextBoxThenToCompute)
{
    window.show();
    QApplication::setActiveWindow(&window);
    window.selectCalculator(1);
    window.txts[0]->setFocus();
    QTest::keyClick(window.txts[0], Qt::Key_Return);
    EXPECT_TRUE(window.txts[1]->hasFocus());
    QTest::keyClick(window.txts[1], Qt::Key_Return);
    EXPECT_TRUE(window.cmdarr[0]->hasFocus());
    window.selectCalculator(4);
    type({"10", "5"});
    window.cmdarr[0]->setFocus();
    QTest::keyClick(window.cmdarr[0], Qt::Key_Return);
    EXPECT_EQ(result(), "1.628895") << "Enter on the focused 计算 computes";
}

} // namespace
