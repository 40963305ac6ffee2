#pragma once

// 文件 > 存为Excel文件: asks where to save, writes the open project's workbook as an Excel
// file and tells the user how it went. Worksheets are named by the sheet's code and title as
// the project's catalogue holds them. The summary sheets are computed for the whole project
// (表1 in the unit the user picks), every form gets its grid lines and the page set-up its print
// layout picks, with the form's code, title and unit in the page header and the page number in
// the footer. All this happens on a copy: nothing in the project or the workbook changes.

#include "output/ExcelExport.h"
#include "project/ProjectSession.h"

#include <cstdint>
#include <functional>
#include <string>

namespace vantor {

class Prompter;
class ProjectStore;
class Workbook;

class ExcelExportCommand {
public:
    static constexpr const char *Filter = "MS Excel(*.xlsx)";
    static constexpr const char *Extension = "xlsx";
    static constexpr const char *Notice = "转换过程需要花费一些时间，转换过程中请不要执行其他Windows程序";
    static constexpr const char *Success = "项目数据转换为Excel文件成功结束！";

    // With no project open it does nothing; a cancelled dialog shows nothing more. `rowsPerPage`
    // is the remembered rows per printed page of a detail sheet (25 without it).
    static CommandResult run(ProjectSession &session, const Workbook &workbook, Prompter &prompter,
                             const std::function<int(int16_t id)> &rowsPerPage = {});

    // The export itself, without asking anything. Throws ExcelExportError, DatabaseError or
    // AmountOverflow.
    static void writeProject(const Workbook &workbook, const ProjectStore &store, const std::string &path, bool yuan,
                             const std::function<int(int16_t id)> &rowsPerPage = {});

    // Sheet "b" + id is named "code title" from the catalogue table of the project, the
    // standard code and name when the table lacks the row; other sheets keep their label.
    static ExcelExport::SheetTitle titlesFrom(const ProjectStore &store);

    // The path with ".xlsx" appended unless it already ends so (in any case).
    static std::string withExtension(const std::string &path);
};

} // namespace vantor
