// The workbook commands of vantor-cli: info and dump.

#include "Cli.h"

#include "sheet_component/engine/CllFile.h"
#include "sheet_component/engine/Workbook.h"

namespace vantor::cli {

int cliInfo(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {}, {});
    parsed.expectPositional(1);
    const auto workbook = loadWorkbook(parsed.positional()[0]);
    io.out << "工作表\t" << workbook->SheetCount() << "\n";
    io.out << "当前工作表\t" << workbook->CurrentSheet() << "\n";
    io.out << "序号\t标签\t列数\t行数\n";
    for (int i = 0; i < workbook->SheetCount(); ++i) {
        const Sheet &sheet = workbook->sheet(i);
        io.out << i << "\t" << escapeTsvField(sheet.label()) << "\t" << sheet.cols() << "\t" << sheet.rows() << "\n";
    }
    return ExitOk;
}

void writeSheetTsv(const Workbook &workbook, int index, bool formulas, std::ostream &out)
{
    const Sheet &sheet = workbook.sheet(index);
    std::string line;
    for (int row = 0; row < sheet.rows(); ++row) {
        line.clear();
        for (int col = 0; col < sheet.cols(); ++col) {
            if (col > 0)
                line += '\t';
            if (formulas && sheet.hasFormula(col, row))
                line += escapeTsvField("=" + sheet.formulaText(col, row));
            else
                line += escapeTsvField(workbook.displayText(index, col, row));
        }
        line += '\n';
        out << line;
    }
}

int cliDump(const std::vector<std::string> &args, CliStreams &io)
{
    const CliArgs parsed(args, {"sheet"}, {"formulas"});
    parsed.expectPositional(1);
    const std::string &label = parsed.required("sheet");
    const bool formulas = parsed.has("formulas");

    const auto workbook = loadWorkbook(parsed.positional()[0]);
    const int index = workbook->findSheet(label);
    if (index < 0) {
        io.err << "vantor-cli dump: 工作簿中没有标签为“" << label << "”的工作表\n";
        return ExitFailure;
    }
    writeSheetTsv(*workbook, index, formulas, io.out);
    return ExitOk;
}

void addWorkbookCommands(CliCommandTable &table)
{
    table["info"] = {"info FILE.cll", "列出工作簿的工作表：序号、标签、列数、行数", cliInfo};
    table["dump"] = {"dump FILE.cll --sheet LABEL [--formulas]",
                     "以制表符分隔输出一张工作表：单元格显示的值；--formulas 时公式单元格输出公式", cliDump};
}

} // namespace vantor::cli
