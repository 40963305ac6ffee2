#pragma once

// The 常用计算公式 window: the formula directory on the left, the chosen calculator's
// input boxes, result box, formula panel and the buttons 计算, 复制, 清零 and 关闭 on
// the right. Modeless; it reads and writes nothing of the project. The arithmetic and
// the input checks are AppraisalCalculators; the window only moves texts and focus.

#include "common/Prompter.h"

#include <QMainWindow>

class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

namespace vantor {

class FormulaView;

class frmToolgs : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int MaxBoxes = 6; // five inputs and the result

    explicit frmToolgs(Prompter &prompter, QWidget *parent = nullptr);

    // Shows calculator `number` (0 … 13) with empty boxes.
    void selectCalculator(int number);
    int calculator() const { return m_calculator; }
    // Index of the result box: the number of inputs.
    int resultIndex() const { return m_resultIndex; }

    void compute();
    void copyResult();
    void clearBoxes();

    QTreeWidget *tvTreeView;
    QLabel *lblTitle;
    QSplitter *imgSplitter;
    QLabel *lbls[MaxBoxes];
    QLineEdit *txts[MaxBoxes];
    FormulaView *picgs;
    QLabel *lblExplanation;
    QPushButton *cmdarr[4];

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onItemClicked(QTreeWidgetItem *item);
    void onReturn(int box);

    Prompter &m_prompter;
    QLabel *m_status;
    int m_calculator = -1;
    int m_resultIndex = 0;
};

} // namespace vantor
