#pragma once

// The 获取外部数据 window: opens another workbook, an Excel workbook or a text table beside
// the project, shows its sheets in a tree and the chosen one in its own sheet view, copies
// the selection to the clipboard and imports the shown sheet into the detail sheet of the
// main window (SheetImport). Modeless; the opened file lives only in this window.

#include "common/Prompter.h"
#include "import/ExternalWorkbook.h"
#include "import/ImportTarget.h"
#include "import/dialogs/dlgColumnMap.h"
#include "sheet_component/engine/Workbook.h"

#include <QMainWindow>
#include <QTemporaryDir>

#include <functional>
#include <optional>

class QAction;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

namespace vantor {

class CellWidget;

class frmImport : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char *Caption = "获取外部数据";

    frmImport(Prompter &prompter, ImportTargetSource target, std::function<void()> afterImport,
              QWidget *parent = nullptr);
    ~frmImport() override;

    // 打开: asks for a file and loads it; false when cancelled or refused.
    bool openFile();
    // Loads `path` (the file dialog's answer); false with a message when it cannot be read.
    bool load(const std::string &path);
    void copySelection();
    // 整表导入 of the sheet shown; true when the main window's sheet changed.
    bool importSheet();
    // Shows the sheet of a tree entry.
    void showEntry(QTreeWidgetItem *item);

    // The mapping step before a ledger is imported: the user's choice, nothing when cancelled.
    using ColumnChooser = std::function<std::optional<ColumnChoice>(
        int id, const LedgerHeadings &headings, int ledgerCols, const LedgerMapping::Columns &proposal)>;
    void setColumnChooser(ColumnChooser chooser) { m_chooseColumns = std::move(chooser); }
    // Where chosen mappings are remembered (the user's own file unless set).
    void setMappingFile(std::string path) { m_mappingFile = std::move(path); }

    Workbook &view() { return m_view; }
    const ExternalWorkbook &file() const { return m_file; }

    QAction *mnuOpen;
    QAction *mnuCopy;
    QAction *mnuImport;
    QAction *mnuQuit;
    QTreeWidget *tvwSht;
    CellWidget *Cell1;
    QSplitter *splitter;

protected:
    // Closing the window lets go of the file: reopened, it starts empty.
    void closeEvent(QCloseEvent *event) override;

private:
    const ExternalWorkbook::Entry *currentEntry() const;
    bool importLedger(const ImportTarget &target, const ForeignSheet &sheet);

    Prompter &m_prompter;
    ImportTargetSource m_target;
    std::function<void()> m_afterImport;
    QTemporaryDir m_tempDir;
    Workbook m_view;
    ExternalWorkbook m_file;
    ColumnChooser m_chooseColumns;
    std::string m_mappingFile;
};

} // namespace vantor
