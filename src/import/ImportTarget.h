#pragma once

// The detail sheet 整表导入 writes into: the sheet shown in the main window of an open
// data-entry project. The import window asks for it each time, since the main window may
// show another sheet by then.

#include <functional>
#include <optional>
#include <string>

namespace vantor {

class Workbook;

struct ImportTarget {
    Workbook *workbook = nullptr; // the sheet is its current sheet
    int sheetId = -1;
    std::string caption;         // the sheet's tree text
    bool freezeHeadings = false; // 不滚动行 is checked
    // The main window could not end the edit open in the sheet and has said why: the import
    // must not go on.
    bool blocked = false;
};

// Nothing when no detail sheet of a data-entry project is shown.
using ImportTargetSource = std::function<std::optional<ImportTarget>()>;

} // namespace vantor
