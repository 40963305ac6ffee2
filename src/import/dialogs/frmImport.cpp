#include "import/dialogs/frmImport.h"

#include "import/ImportError.h"
#include "import/LedgerImport.h"
#include "import/MappingMemory.h"
#include "import/SheetImport.h"
#include "sheet_component/widget/CellWidget.h"
#include "sheets/SheetCatalogue.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QSplitter>
#include <QTreeWidget>

namespace vantor {

namespace {

constexpr int kEntryRole = Qt::UserRole + 1;

} // namespace

frmImport::frmImport(Prompter &prompter, ImportTargetSource target, std::function<void()> afterImport, QWidget *parent)
    : QMainWindow(parent), m_prompter(prompter), m_target(std::move(target)), m_afterImport(std::move(afterImport))
{
    setObjectName("frmImport");
    setWindowTitle(QString::fromUtf8(Caption));

    mnuOpen = menuBar()->addAction(QStringLiteral("打开(&O)"), this, [this] { openFile(); });
    mnuOpen->setObjectName("mnuOpen");
    mnuCopy = menuBar()->addAction(QStringLiteral("复制(&C)"), this, [this] { copySelection(); });
    mnuCopy->setObjectName("mnuCopy");
    mnuImport = menuBar()->addAction(QStringLiteral("整表导入"), this, [this] { importSheet(); });
    mnuImport->setObjectName("mnuImport");
    mnuImport->setEnabled(false);
    mnuQuit = menuBar()->addAction(QStringLiteral(">>关闭<<"), this, &QWidget::close);
    mnuQuit->setObjectName("mnuQuit");

    tvwSht = new QTreeWidget;
    tvwSht->setObjectName("tvwSht");
    tvwSht->setHeaderHidden(true);
    tvwSht->setRootIsDecorated(false);
    connect(tvwSht, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) { showEntry(item); });

    m_view.SetReadOnly(true);
    Cell1 = new CellWidget(m_view);
    Cell1->setObjectName("Cell1");
    Cell1->SetReadOnly(true);

    splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName("splitter");
    splitter->addWidget(tvwSht);
    splitter->addWidget(Cell1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 760});
    setCentralWidget(splitter);
    resize(1000, 640);
    m_chooseColumns = [this](int id, const LedgerHeadings &headings, int ledgerCols,
                             const LedgerMapping::Columns &proposal) -> std::optional<ColumnChoice> {
        dlgColumnMap dialog(id, headings, ledgerCols, proposal, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.choice();
    };
}

void frmImport::closeEvent(QCloseEvent *event)
{
    tvwSht->clear();
    m_file = ExternalWorkbook();
    m_view.assignFrom(Workbook());
    m_view.SetReadOnly(true);
    mnuImport->setEnabled(false);
    setWindowTitle(QString::fromUtf8(Caption));
    Cell1->DoRefreshLayout();
    QMainWindow::closeEvent(event);
}

frmImport::~frmImport()
{
    // The view shows m_view, which goes before the child widgets would.
    delete Cell1;
}

bool frmImport::openFile()
{
    FileDialogRequest request;
    request.title = "打开";
    request.filter = "数据文件 (*.cll);;Excel 工作簿 (*.xlsx *.xls);;文本文件 (*.csv *.txt *.tsv);;所有文件 (*)";
    const std::optional<std::string> path = m_prompter.openFileName(request);
    if (!path || path->empty())
        return false;
    return load(*path);
}

bool frmImport::load(const std::string &path)
{
    if (!m_tempDir.isValid()) {
        m_prompter.message("无法建立临时文件夹，不能打开文件。", Caption, MessageIcon::Critical);
        return false;
    }
    try {
        m_file.open(path, m_tempDir.path().toStdString(), m_view);
    } catch (const ImportError &e) {
        m_prompter.message(e.what(), Caption, MessageIcon::Critical);
        return false;
    }
    tvwSht->clear();
    for (std::size_t i = 0; i < m_file.entries().size(); ++i) {
        auto *item = new QTreeWidgetItem(tvwSht, {QString::fromStdString(m_file.entries()[i].text)});
        item->setData(0, kEntryRole, static_cast<int>(i));
    }
    setWindowTitle(QString::fromUtf8(Caption));
    mnuImport->setEnabled(false);
    if (QTreeWidgetItem *first = tvwSht->topLevelItem(0)) {
        tvwSht->setCurrentItem(first);
        showEntry(first);
    } else {
        Cell1->DoRefreshLayout();
        Cell1->DoRedraw();
    }
    return true;
}

const ExternalWorkbook::Entry *frmImport::currentEntry() const
{
    const QTreeWidgetItem *item = tvwSht->currentItem();
    if (!item)
        return nullptr;
    const int index = item->data(0, kEntryRole).toInt();
    if (index < 0 || index >= static_cast<int>(m_file.entries().size()))
        return nullptr;
    return &m_file.entries()[static_cast<std::size_t>(index)];
}

void frmImport::showEntry(QTreeWidgetItem *item)
{
    if (!item)
        return;
    if (tvwSht->currentItem() != item)
        tvwSht->setCurrentItem(item);
    const ExternalWorkbook::Entry *entry = currentEntry();
    if (!entry)
        return;
    m_view.DoSetCurrentSheet(entry->sheet);
    const bool workbook = m_file.kind() == ExternalWorkbook::Kind::Workbook;
    const bool contra = entry->key == SheetCatalogue::label(SheetCatalogue::ContraSheetId);
    // Of another workbook only 表11 is imported whole; its headings stay in view on the others.
    if (workbook && !contra)
        m_view.DoSetUnScrollRow(0, 2);
    m_view.undoStack().clear();
    mnuImport->setEnabled(!workbook || contra);
    setWindowTitle(QString::fromUtf8(Caption) + QStringLiteral("--") + item->text(0));
    Cell1->DoRefreshLayout();
    Cell1->DoRedraw();
}

void frmImport::copySelection()
{
    Cell1->DoCopy();
}

bool frmImport::importSheet()
{
    const ExternalWorkbook::Entry *entry = currentEntry();
    if (!entry)
        return false;
    const std::optional<ImportTarget> target = m_target ? m_target() : std::nullopt;
    if (target && target->blocked)
        return false;
    if (!target || !target->workbook) {
        m_prompter.message("请先在主窗口中打开要导入数据的明细表。", Caption, MessageIcon::Information);
        return false;
    }
    bool changed = false;
    if (m_file.kind() == ExternalWorkbook::Kind::Workbook) {
        if (target->sheetId != SheetCatalogue::ContraSheetId) {
            m_prompter.message("其他工作簿中只有表11（备抵科目补充明细表）可以整表导入，请先在主窗口中打开表11。",
                               Caption, MessageIcon::Information);
            return false;
        }
        changed = SheetImport::importContraSheet(*target->workbook, m_view, entry->sheet, m_prompter);
    } else if (const ForeignSheet *sheet = m_file.foreignSheet(entry->sheet)) {
        changed = importLedger(*target, *sheet);
    }
    if (changed && m_afterImport)
        m_afterImport();
    return changed;
}

bool frmImport::importLedger(const ImportTarget &target, const ForeignSheet &sheet)
{
    const int id = target.sheetId;
    const LedgerHeadings headings = LedgerMapping::detect(sheet, id);
    MappingMemory memory = m_mappingFile.empty() ? MappingMemory() : MappingMemory(m_mappingFile);
    const std::string key = LedgerMapping::memoryKey(id, headings);
    const auto remembered = memory.recall(key);
    const auto choice =
        m_chooseColumns(id, headings, sheet.cols, remembered ? *remembered : LedgerMapping::propose(id, headings));
    if (!choice)
        return false;
    memory.remember(key, choice->columns);
    // Rows selected in the window narrow the import to them.
    const CellRange selection = Cell1->selection().DoGetSelection();
    const bool rowsSelected = !selection.isEmpty() && selection.row2 > selection.row1;
    const int first = rowsSelected ? std::max(selection.row1, choice->firstRow) : choice->firstRow;
    const int last = rowsSelected ? selection.row2 : sheet.rows - 1;
    const LedgerLines lines = LedgerImport::lines(sheet, id, choice->columns, first, last);
    if (!lines.unreadable.empty()) {
        const std::string question = "以下" + std::to_string(lines.unreadable.size()) +
                                     "个单元格应是数字，但读不出数值：\n" + LedgerImport::describe(lines.unreadable) +
                                     "\n选“是”跳过这些单元格导入其余数据，选“否”取消导入。";
        if (m_prompter.question(question, Caption, QuestionButtons::YesNo) != Answer::Yes)
            return false;
    }
    return SheetImport::importRows(*target.workbook, id, target.caption, lines.rows, m_prompter, target.freezeHeadings);
}

} // namespace vantor
