// The project commands of vantor-cli: new, info (of a project file), add-sheet, fill and import.

#include "ProjectCommands.h"

#include "CliProject.h"
#include "CliPrompter.h"
#include "CliText.h"

#include "import/ExternalWorkbook.h"
#include "import/ImportError.h"
#include "import/LedgerImport.h"
#include "import/LedgerMapping.h"
#include "import/MappingMemory.h"
#include "import/SheetImport.h"
#include "project/EngineProjectWorkbook.h"
#include "project/IsoDate.h"
#include "project/NodePropertiesForm.h"
#include "project/ProjectPaths.h"
#include "project/ProjectSession.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/AddSheetCommand.h"
#include "sheets/DetailEditCommands.h"
#include "sheets/DetailLayouts.h"
#include "sheets/LedgerFill.h"
#include "sheets/SheetCatalogue.h"
#include "summation/SheetTotals.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

namespace fs = std::filesystem;

namespace vantor::cli {

namespace {

std::string kindText(ProjectKind kind)
{
    switch (kind) {
    case ProjectKind::DataEntry:
        return "数据录入型";
    case ProjectKind::Summary:
        return "项目汇总型";
    case ProjectKind::None:
        break;
    }
    return "未知";
}

std::string amountText(Amount a)
{
    return a.toString(2 + (a.units() % 100 != 0 ? 2 : 0));
}

// A property option, taken exactly as given or refused as the property dialog
// would refuse it.
void takeProperty(const CliArgs &args, const char *option, int maxLength, std::optional<std::string> &field)
{
    if (args.has(option))
        field = CliText::accepted(std::string("--") + option, args.required(option), maxLength);
}

// The detail sheet a fill or import writes into, made current; -1 after telling the user why not.
int targetSheet(OpenProject &project, const std::string &label, const char *command, CliStreams &io)
{
    const auto id = SheetCatalogue::idOfLabel(label);
    if (!id || SheetCatalogue::label(*id) != label || !SheetCatalogue::isDetail(*id)) {
        io.err << "vantor-cli " << command << ": " << label << " 不是明细表的标签（b10 … b78）。\n";
        return -1;
    }
    if (project.session.kind() != ProjectKind::DataEntry) {
        io.err << "vantor-cli " << command << ": 只有数据录入型项目才能填写明细表。\n";
        return -1;
    }
    const int index = project.workbook.findSheet(label);
    if (index < 0) {
        io.err << "vantor-cli " << command << ": 项目中没有表 " << label << "，请先用 add-sheet 添加。\n";
        return -1;
    }
    project.workbook.DoSetCurrentSheet(index);
    project.session.setCurrentSheet(static_cast<int16_t>(*id));
    return *id;
}

// Stores the sheet's totals and saves the project; false after telling the user.
bool storeAndSave(OpenProject &project, int id, CliStreams &io)
{
    if (writeSheetTotals(project.workbook, project.session.store(), id, project.prompter) ==
        SheetTotalsStatus::Refused) {
        io.err << "项目没有保存，原来的项目文件没有改变。\n";
        return false;
    }
    return save(project, io);
}

} // namespace

int cliNewProject(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"kind", "name", "unit", "appraiser", "leader", "date", "representative"}, {"force"});
    parsed.expectPositional(1);
    const std::string path = checkedProjectPath(parsed.positional()[0]);
    const std::string &kindName = parsed.required("kind");
    ProjectKind kind = ProjectKind::None;
    if (kindName == "data")
        kind = ProjectKind::DataEntry;
    else if (kindName == "summary")
        kind = ProjectKind::Summary;
    else
        throw CliUsageError("--kind 应为 data 或 summary");
    std::optional<std::chrono::year_month_day> date;
    if (parsed.has("date")) {
        date = IsoDate::parse(parsed.required("date"));
        if (!date)
            throw CliUsageError("--date 应为 YYYY-MM-DD 形式的日期：" + parsed.required("date"));
    }
    const std::string workbookPath = ProjectPaths::pairedWorkbook(path);
    if (!parsed.has("force") && (fs::exists(path) || fs::exists(workbookPath))) {
        io.err << "vantor-cli new: 文件已存在：" << (fs::exists(path) ? path : workbookPath) << "（用 --force 覆盖）\n";
        return ExitFailure;
    }

    OpenProject project(io.err);
    if (project.session.newProject(kind, project.prompter) != CommandResult::Done)
        return ExitFailure;
    NodeProperties properties = project.session.store().node(0).value_or(ProjectNode{}).properties;
    takeProperty(parsed, "name", NodePropertiesForm::kNameLength, properties.pmname);
    takeProperty(parsed, "unit", NodePropertiesForm::kTextLength, properties.zczydw);
    takeProperty(parsed, "appraiser", NodePropertiesForm::kTextLength, properties.zcpgs);
    takeProperty(parsed, "leader", NodePropertiesForm::kTextLength, properties.xmfzr);
    takeProperty(parsed, "representative", NodePropertiesForm::kRepresentativeLength, properties.frdb);
    if (date)
        properties.pgjzr = date;
    project.session.storeNodeProperties(properties);
    project.prompter.setSavePath(path);
    if (!save(project, io))
        return ExitFailure;
    io.out << "已新建" << kindText(kind) << "项目：" << project.session.projectPath() << "\n";
    return ExitOk;
}

int cliProjectInfo(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"password"}, {});
    parsed.expectPositional(1);
    auto project = openProject(parsed.positional()[0], parsed, io);
    if (!project)
        return ExitFailure;
    ProjectStore &store = project->session.store();
    const auto text = [](const std::optional<std::string> &v) { return escapeTsvField(v.value_or("")); };
    io.out << "类型\t" << kindText(project->session.kind()) << "\n";
    if (const auto root = store.node(0)) {
        const NodeProperties &p = root->properties;
        io.out << "项目名称简称\t" << text(p.pmname) << "\n";
        io.out << "资产占有单位\t" << text(p.zczydw) << "\n";
        io.out << "签字注册评估师\t" << text(p.zcpgs) << "\n";
        io.out << "项目负责人员\t" << text(p.xmfzr) << "\n";
        io.out << "评估基准日期\t" << (p.pgjzr ? IsoDate::format(*p.pgjzr) : std::string()) << "\n";
        io.out << "单位法人代表\t" << text(p.frdb) << "\n";
    }
    io.out << "密码\t" << (store.passwordHash().empty() ? "无" : "有") << "\n";
    io.out << "\n节点\tpmid\tnodetype\tparent\t项目名称简称\t资产占有单位\n";
    for (const ProjectNode &node : store.nodes())
        io.out << "\t" << node.pmid << "\t" << node.nodetype << "\t" << node.parent << "\t"
               << text(node.properties.pmname) << "\t" << text(node.properties.zczydw) << "\n";
    io.out << "\n工作表\tid\t标签\t表号\t名称\n";
    for (const SheetListRow &sheet : store.sheets())
        io.out << "\t" << sheet.id << "\t" << SheetCatalogue::label(sheet.id) << "\t" << escapeTsvField(sheet.code)
               << "\t" << escapeTsvField(sheet.name) << "\n";
    io.out << "\n合计\tid\tpmid\tv1\tv2\tv3\tz1\tz2\tz3\n";
    for (const SheetDataRow &row : store.sheetData()) {
        const SheetTotals &t = row.totals;
        io.out << "\t" << row.id << "\t" << row.pmid << "\t" << amountText(t.v1) << "\t" << amountText(t.v2) << "\t"
               << amountText(t.v3) << "\t" << amountText(t.z1) << "\t" << amountText(t.z2) << "\t" << amountText(t.z3)
               << "\n";
    }
    return ExitOk;
}

int cliAddSheet(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"password"}, {});
    parsed.expectPositional(2);
    const std::string &idText = parsed.positional()[1];
    int id = 0;
    const auto [end, ec] = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    if (ec != std::errc() || end != idText.data() + idText.size())
        throw CliUsageError("表的编号应为整数：" + idText);

    auto project = openProject(parsed.positional()[0], parsed, io);
    if (!project)
        return ExitFailure;
    if (project->session.kind() != ProjectKind::DataEntry) {
        io.err << "vantor-cli add-sheet: 只有数据录入型项目才能添加明细表。\n";
        return ExitFailure;
    }
    const auto addable = AddSheetCommand::addableSheets(project->workbook);
    const auto chosen =
        std::find_if(addable.begin(), addable.end(), [id](const AddableSheet &s) { return s.id == id; });
    if (chosen == addable.end()) {
        if (id >= SheetCatalogue::FirstAddableId && id <= SheetCatalogue::LastAddableId)
            io.err << "vantor-cli add-sheet: 项目中已有表 " << SheetCatalogue::label(id) << "。\n";
        else
            io.err << "vantor-cli add-sheet: 只能添加编号 " << SheetCatalogue::FirstAddableId << " 至 "
                   << SheetCatalogue::LastAddableId << " 的明细表。\n";
        return ExitFailure;
    }
    // Opening the add-sheet dialog first stores the totals of the sheet shown.
    const int shownId = project->session.currentSheet();
    if (writeSheetTotals(project->workbook, project->session.store(), shownId, project->prompter) ==
        SheetTotalsStatus::Refused)
        return ExitFailure;
    const auto [code, name] = SheetCatalogue::splitDetailCaption(chosen->caption);
    ProjectStore &store = project->session.store();
    const auto result = AddSheetCommand::run(project->workbook, id, code, name, [&store](const AddedSheet &added) {
        store.insertSheet({static_cast<int16_t>(added.id), added.code, added.name});
    });
    if (result.status != AddSheetCommand::Status::Added) {
        io.err << "vantor-cli add-sheet: 没有添加表 " << SheetCatalogue::label(id) << "。\n";
        return ExitFailure;
    }
    project->session.setCurrentSheet(static_cast<int16_t>(id));
    if (!save(*project, io))
        return ExitFailure;
    io.out << "已添加 " << SheetCatalogue::label(id) << "\t" << chosen->caption << "\t位置 " << result.position << "\n";
    return ExitOk;
}

int cliFill(const std::vector<std::string> &args, CliStreams &io, std::istream &in)
{
    const CliArgs parsed(args, {"sheet", "row", "password"}, {});
    parsed.expectPositional(1);
    const std::string &label = parsed.required("sheet");
    const int firstRow = static_cast<int>(parsed.integer("row", 1, DetailEditCommands::MaxRows, 4)) - 1;
    const auto labelled = SheetCatalogue::idOfLabel(label);
    if (!labelled || SheetCatalogue::label(*labelled) != label || !SheetCatalogue::isDetail(*labelled)) {
        io.err << "vantor-cli fill: " << label << " 不是明细表的标签（b10 … b78）。\n";
        return ExitFailure;
    }

    auto project = openProject(parsed.positional()[0], parsed, io);
    if (!project)
        return ExitFailure;
    const int id = targetSheet(*project, label, "fill", io);
    if (id < 0)
        return ExitFailure;
    Workbook &workbook = project->workbook;
    const LedgerFill::Rows rows = LedgerFill::read(in);
    if (const auto problem = LedgerFill::check(workbook, id, firstRow, rows)) {
        io.err << "vantor-cli fill: " << *problem << "没有填入任何数据。\n";
        return ExitFailure;
    }
    const bool frozen = workbook.sheet(workbook.CurrentSheet()).frozenRows().any();
    // Nobody can undo in this process; recording every cell would only cost time.
    workbook.undoStack().pause();
    const LedgerFill::Result result = LedgerFill::fill(workbook, id, firstRow, rows, frozen);
    workbook.undoStack().resume();
    if (result.outOfRangeRows > 0)
        io.err << "vantor-cli fill: 有" << result.outOfRangeRows
               << "行的计算结果超出金额范围，这些单元格保持原来的内容。\n";
    if (!storeAndSave(*project, id, io))
        return ExitFailure;
    io.out << "已填入 " << label << "：" << result.rows << " 行，" << result.cells << " 个单元格，表共 "
           << result.sheetRows << " 行\n";
    return ExitOk;
}

int cliImport(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"sheet", "from-sheet", "first-row", "password", "map"}, {"skip-unreadable"});
    parsed.expectPositional(2);
    const std::string &label = parsed.required("sheet");
    const std::string &from = parsed.positional()[1];
    const int firstRow = static_cast<int>(parsed.integer("first-row", 1, DetailEditCommands::MaxRows, 1)) - 1;
    const std::string map = parsed.has("map") ? parsed.required("map") : "auto";

    auto project = openProject(parsed.positional()[0], parsed, io);
    if (!project)
        return ExitFailure;
    const int id = targetSheet(*project, label, "import", io);
    if (id < 0)
        return ExitFailure;

    Workbook view;
    ExternalWorkbook file;
    try {
        file.open(from, project->scratch.path(), view);
    } catch (const ImportError &e) {
        io.err << "vantor-cli import: " << e.what() << "\n";
        return ExitFailure;
    }
    const auto &entries = file.entries();
    const bool workbook = file.kind() == ExternalWorkbook::Kind::Workbook;
    // Another workbook gives its 表11; any other file its first sheet unless one is named.
    const std::string wanted = parsed.has("from-sheet") ? parsed.required("from-sheet")
                               : workbook               ? SheetCatalogue::label(78)
                                                        : "";
    const auto entry = std::find_if(entries.begin(), entries.end(), [&](const ExternalWorkbook::Entry &e) {
        return wanted.empty() || view.DoGetSheetLabel(e.sheet) == wanted;
    });
    if (entry == entries.end()) {
        io.err << "vantor-cli import: " << from << " 中没有工作表“" << wanted << "”。\n";
        return ExitFailure;
    }

    Workbook &target = project->workbook;
    const bool frozen = target.sheet(target.CurrentSheet()).frozenRows().any();
    // Nobody can undo in this process; recording every cell would only cost time.
    target.undoStack().pause();
    std::string done;
    if (workbook) {
        if (id != SheetCatalogue::ContraSheetId || entry->key != SheetCatalogue::label(SheetCatalogue::ContraSheetId)) {
            target.undoStack().resume();
            io.err << "vantor-cli import: 从其他工作簿只能把表11导入表11（--sheet b78）。\n";
            return ExitFailure;
        }
        if (const auto problem = SheetImport::checkContraSheet(view, entry->sheet)) {
            target.undoStack().resume();
            io.err << "vantor-cli import: " << *problem << "没有导入任何数据。\n";
            return ExitFailure;
        }
        done = std::to_string(SheetImport::copyContraSheet(target, view, entry->sheet)) + " 个单元格";
    } else {
        const ForeignSheet &sheet = *file.foreignSheet(entry->sheet);
        const LedgerHeadings headings = LedgerMapping::detect(sheet, id);
        LedgerMapping::Columns columns;
        MappingMemory memory;
        const std::string key = LedgerMapping::memoryKey(id, headings);
        if (map == "position") {
            columns = LedgerMapping::byPosition(id, sheet.cols);
        } else if (map == "auto") {
            const auto remembered = memory.recall(key);
            columns = remembered ? *remembered : LedgerMapping::propose(id, headings);
            io.out << (remembered ? "按以前为这种台帐选定的列对应导入：\n" : "按表头自动对应的列：\n");
        } else {
            std::string error;
            const auto parsedMap = LedgerMapping::parse(id, map, error);
            if (!parsedMap) {
                target.undoStack().resume();
                io.err << "vantor-cli import: --map " << error << "\n";
                return ExitFailure;
            }
            columns = *parsedMap;
            memory.remember(key, columns);
        }
        io.out << LedgerImport::describeMapping(id, columns, headings);
        // Without --first-row: the row below the detected headings (all rows by position).
        const int first = parsed.has("first-row") ? firstRow : map == "position" ? 0 : headings.firstDataRow;
        const LedgerLines lines = LedgerImport::lines(sheet, id, columns, first, sheet.rows - 1);
        if (!lines.unreadable.empty()) {
            const std::string list = LedgerImport::describe(lines.unreadable);
            if (!parsed.has("skip-unreadable")) {
                target.undoStack().resume();
                io.err
                    << "vantor-cli import: 以下" << lines.unreadable.size()
                    << "个单元格应是数字，但读不出数值，没有导入任何数据（加 --skip-unreadable 可跳过这些单元格）：\n"
                    << list;
                return ExitFailure;
            }
            io.err << "vantor-cli import: 跳过以下" << lines.unreadable.size() << "个读不出数值的单元格：\n" << list;
        }
        const LedgerFill::Rows &rows = lines.rows;
        if (const auto problem = SheetImport::checkRows(target, id, rows)) {
            target.undoStack().resume();
            io.err << "vantor-cli import: " << *problem << "没有导入任何数据。\n";
            return ExitFailure;
        }
        const LedgerFill::Result result = LedgerFill::fill(target, id, DetailLayouts::FirstDataRow, rows, frozen);
        if (result.outOfRangeRows > 0)
            io.err << "vantor-cli import: 有" << result.outOfRangeRows
                   << "行的计算结果超出金额范围，这些单元格保持原来的内容。\n";
        done = std::to_string(result.rows) + " 行，" + std::to_string(result.cells) + " 个单元格";
    }
    target.undoStack().resume();
    if (!storeAndSave(*project, id, io))
        return ExitFailure;
    io.out << "已导入 " << label << "：" << done << "，表共 " << target.Rows() << " 行\n";
    return ExitOk;
}

void addProjectCommands(CliCommandTable &table)
{
    table["new"] = {"new --kind data|summary FILE.mdb [--name 简称 --unit 单位 --appraiser 评估师 --leader 负责人 "
                    "--date YYYY-MM-DD --representative 法人代表] [--force]",
                    "用程序目录中的模板新建项目文件及其工作簿，项目属性取自选项", cliNewProject};
    const auto workbookInfo = table.count("info") ? table["info"].run : CliHandler();
    table["info"] = {"info FILE.mdb [--password 密码] | info FILE.cll",
                     "项目文件：类型、项目属性、节点、工作表、合计数据；工作簿：列出工作表",
                     [workbookInfo](const std::vector<std::string> &args, CliStreams &io) {
                         const bool project = std::any_of(args.begin(), args.end(), endsWithMdb);
                         if (project || !workbookInfo)
                             return cliProjectInfo(args, io);
                         return workbookInfo(args, io);
                     }};
    table["add-sheet"] = {"add-sheet FILE.mdb ID [--password 密码]",
                          "像“添加明细表”对话框一样添加编号为 ID 的明细表并保存项目", cliAddSheet};
    table["fill"] = {"fill FILE.mdb --sheet LABEL [--row N] [--password 密码] < data.tsv",
                     "把制表符分隔的数据从第 N 行（默认第4行）起逐行填入明细表，计算各行与合计行，写入合计并保存项目",
                     [](const std::vector<std::string> &args, CliStreams &io) { return cliFill(args, io, std::cin); }};
    table["import"] = {
        "import FILE.mdb --sheet LABEL LEDGER.xlsx|LEDGER.xls|LEDGER.csv|FROM.cll [--from-sheet 名称] "
        "[--map auto|position|\"序号=A,名称=C,…\"] [--first-row N] [--skip-unreadable] [--password 密码]",
        "像“整表导入”一样把客户台帐（Excel 工作表或文本表格）按列对应填入明细表：--map auto 按表头对应"
        "（默认，先列出所用的对应），position 按本表列顺序；不给 --first-row 时从表头下面一行起；"
        "数字栏中读不出数值的单元格先列出，加 --skip-unreadable 才跳过它们导入（工作簿只导入表11），"
        "计算各行与合计行，写入合计并保存项目",
        cliImport};
}

} // namespace vantor::cli
