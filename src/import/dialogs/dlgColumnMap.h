#pragma once

// The mapping step of 整表导入 from a client ledger: each column of the form, headed as on
// the sheet, is matched to a ledger column or to nothing; the detected heading rows are
// named and the first data row can be changed. 按表头对应 restores the proposal,
// 按本表列顺序 takes the ledger's columns in the sheet's own order.

#include "import/LedgerMapping.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QSpinBox;
class QTableWidget;

namespace vantor {

struct ColumnChoice {
    LedgerMapping::Columns columns;
    int firstRow = 0; // 0-based ledger row
};

class dlgColumnMap : public QDialog {
    Q_OBJECT
public:
    dlgColumnMap(int id, const LedgerHeadings &headings, int ledgerCols, const LedgerMapping::Columns &proposal,
                 QWidget *parent = nullptr);

    ColumnChoice choice() const;
    void setColumns(const LedgerMapping::Columns &columns);

    QTableWidget *tblColumns;
    QSpinBox *spnFirstRow;

private:
    std::vector<QComboBox *> m_boxes;
};

} // namespace vantor
