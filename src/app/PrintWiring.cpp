#include "app/PrintWiring.h"

#include "app/ProjectController.h"
#include "app/ProjectDocument.h"
#include "app/SheetHost.h"
#include "app/frmMain.h"
#include "output/PrintProgress.h"
#include "output/ReportBook.h"
#include "output/dialogs/dlgPrint.h"
#include "output/dialogs/frmProgres.h"
#include "output/pdf/ReportPdf.h"
#include "output/print/PrintSettingsStore.h"
#include "sheet_component/widget/PrintPreview.h"
#include "summation/SummaryDriver.h"
#include "summation/SummarySheets.h"

#include <QApplication>
#include <QProgressDialog>
#include <QWidget>

#include <exception>
#include <filesystem>

namespace vantor {

namespace {

constexpr const char *Title = "打印";

// The view does not repaint while the layout runs on the temporary sheet.
class FrozenView {
public:
    explicit FrozenView(QWidget *view) : m_view(view) { m_view->setUpdatesEnabled(false); }
    ~FrozenView() { m_view->setUpdatesEnabled(true); }
    FrozenView(const FrozenView &) = delete;
    FrozenView &operator=(const FrozenView &) = delete;

private:
    QWidget *m_view;
};

// The whole report's progress: a bar with a cancel button, repainted on every step.
class ReportProgress : public PrintProgress {
public:
    explicit ReportProgress(QWidget *parent)
        : m_dialog(QStringLiteral("开始打印准备工作"), QStringLiteral("取消"), 0, 100, parent)
    {
        m_dialog.setWindowTitle(QStringLiteral("请稍候..."));
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(0);
        m_dialog.setMinimumWidth(420);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }
    void ShowProgress(double step, const std::string &text) override
    {
        m_dialog.setLabelText(QString::fromStdString(text));
        m_dialog.setValue(static_cast<int>(step * 10));
        QApplication::processEvents();
    }
    bool cancelled() const override { return m_dialog.wasCanceled(); }
    void finished() override { m_dialog.hide(); }

private:
    QProgressDialog m_dialog;
};

} // namespace

PrintWiring::PrintWiring(frmMain &window, ProjectController &projects)
    : m_window(window), m_doc(window.document()), m_projects(projects)
{
    m_window.dispatcher().setHandler(CommandId::FilePrintPreview, [this] { print(); });
    m_window.dispatcher().setHandler(CommandId::SettingInstitution, [this] { editInstitution(); });
    m_window.dispatcher().setHandler(CommandId::FileReportPdf, [this] { printReport(); });
}

PrintWiring::~PrintWiring()
{
    m_window.dispatcher().setHandler(CommandId::FilePrintPreview, nullptr);
    m_window.dispatcher().setHandler(CommandId::SettingInstitution, nullptr);
    m_window.dispatcher().setHandler(CommandId::FileReportPdf, nullptr);
}

void PrintWiring::print()
{
    ProgramState &state = m_doc.state();
    ProjectSession &session = m_projects.session();
    if (!state.projectOpen || !session.isOpen())
        return;
    PrintContext context;
    context.summaryView = !m_doc.detailView() || state.isSummary();
    if (!m_doc.summaryLabel().empty())
        context.summaryKey = m_doc.summaryLabel();
    context.sheetId = state.currentSheet;
    context.freezeHeadings = m_doc.freezeRows();

    const std::string institution = PrintSettingsStore::institution();
    const int16_t node = state.currentNode;
    std::optional<bool> yuan = PrintSettingsStore::summaryInYuan();
    auto texts = [&](int16_t id) {
        PrintTexts t = PrintTexts::read(session.store(), node, id, institution);
        t.unitLine = PrintTexts::unitLineOf(id, yuan);
        return t;
    };
    auto askRows = [&](int16_t id) {
        state.rowsPerPage = m_askRows ? m_askRows(id) : dlgPrint::ask(id, &m_window);
        return state.rowsPerPage;
    };
    SheetHost &view = m_window.sheet();
    auto output = [&](Workbook &workbook, int sheet) {
        if (m_output)
            m_output(workbook, sheet);
        else
            PrintPreview::exec(workbook, sheet, &m_window);
    };

    PrintEngine::Outcome outcome = PrintEngine::Outcome::Cancelled;
    try {
        // A summary sheet prints the figures of the node whose name it carries: in a summary
        // project the node chosen in the tree may differ from the one the sheet showed last.
        if (context.summaryView && state.isSummary() && SummaryDriver::sheetOf(context.summaryKey) >= 0)
            SummaryDriver::build(m_doc.workbook(), session.store(), context.summaryKey, node, m_window.prompter(),
                                 &yuan);
        frmProgres progress(&m_window);
        FrozenView frozen(view.widget());
        outcome = PrintEngine::PrintSheet(m_doc.workbook(), context, texts, askRows, &progress, output);
    } catch (const PrintCancelled &) {
    } catch (const std::exception &e) {
        m_window.prompter().message(std::string(e.what()) + "\n没有打印，工作表保持原样。", Title,
                                    MessageIcon::Critical);
    }
    view.DoRefreshLayout();
    view.DoRedraw();
    // The keys go back to the sheet, also where no window manager returns the focus to the
    // window a dialog closed over.
    m_window.activateWindow();
    view.widget()->setFocus();
    if (outcome == PrintEngine::Outcome::TooManyRows)
        m_window.prompter().message("明细表超过" + std::to_string(PrintEngine::MaxDetailRows) + "行，不能打印。", Title,
                                    MessageIcon::Information);
}

void PrintWiring::printReport()
{
    ProgramState &state = m_doc.state();
    ProjectSession &session = m_projects.session();
    if (!state.projectOpen || !session.isOpen())
        return;
    Prompter &prompter = m_window.prompter();
    std::string path;
    if (m_reportPath) {
        path = m_reportPath();
    } else {
        FileDialogRequest request;
        request.title = "整套报表存为PDF";
        request.filter = "PDF文件 (*.pdf)";
        request.directory = std::filesystem::path(session.projectPath()).parent_path().string();
        request.fileName = std::filesystem::path(session.projectPath()).stem().string() + "报表.pdf";
        path = prompter.saveFileName(request).value_or("");
    }
    if (path.empty())
        return;
    if (path.size() < 4 || QString::fromStdString(path).right(4).toLower() != QLatin1String(".pdf"))
        path += ".pdf";

    ReportOptions options;
    options.node = state.isSummary() ? state.currentNode : 0;
    options.yuan = prompter.question(SummarySheets::UnitQuestion, Title, QuestionButtons::YesNo) == Answer::Yes;
    options.institution = PrintSettingsStore::institution();
    options.rowsPerPage = [](int16_t id) { return PrintSettingsStore::rows(id); };
    std::string skipped;
    try {
        ReportBook book(m_doc.workbook(), session.store(), options);
        for (const ReportForm &form : book.tooLong())
            skipped += "\n" + form.code + " " + form.name + "超过" + std::to_string(PrintEngine::MaxDetailRows) +
                       "行，没有打印。";
        ReportProgress progress(&m_window);
        ReportPdf::write(book, path, &progress);
    } catch (const PrintCancelled &) {
        return;
    } catch (const std::exception &e) {
        prompter.message(std::string(e.what()) + "\n没有写出PDF文件，项目保持原样。", Title, MessageIcon::Critical);
        return;
    }
    prompter.message("整套报表已存为PDF文件：" + path + skipped, Title, MessageIcon::Information);
}

void PrintWiring::editInstitution()
{
    const auto name = m_window.prompter().inputText("评估机构名称（打印在每张表的签章栏）：", "评估机构",
                                                    PrintSettingsStore::institution());
    if (name)
        PrintSettingsStore::setInstitution(*name);
}

} // namespace vantor
