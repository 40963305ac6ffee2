#pragma once

// The file opened in the import window: another Vantor workbook (.cll), an Excel
// workbook (.xlsx or .xls) or a text table (.csv, .txt, .tsv). Its sheets are loaded into the
// window's own workbook for viewing and copying; the entries name the sheets the window's
// tree offers. A .cll is never read in place: it is copied into a temporary folder, loaded
// from the copy and the copy removed at once. Opening fails as a whole with an ImportError
// and then leaves the view and the entries as they were.

#include "import/ForeignSheet.h"

#include <string>
#include <vector>

namespace vantor {

class Workbook;

class ExternalWorkbook {
public:
    enum class Kind { None, Workbook, Excel, Text };

    struct Entry {
        std::string key;  // "b" + id for a standard sheet of a workbook, "s" + index otherwise
        std::string text; // tree text
        int sheet = 0;    // index of the sheet in the view
    };

    static constexpr const char *TempFileName = "_tempf.cll";
    static constexpr int MaxMerges = 2000;

    // Opens `path` into `view`; `tempFolder` receives the temporary copy of a workbook.
    void open(const std::string &path, const std::string &tempFolder, Workbook &view);

    Kind kind() const { return m_kind; }
    const std::vector<Entry> &entries() const { return m_entries; }
    // The values read from an Excel or text file for the view sheet `index`; nullptr for a workbook.
    const ForeignSheet *foreignSheet(int index) const;

    // The foreign sheets as one workbook of values, one sheet each, labelled by name.
    static void fillView(const std::vector<ForeignSheet> &sheets, Workbook &view);

private:
    Kind m_kind = Kind::None;
    std::vector<Entry> m_entries;
    std::vector<ForeignSheet> m_sheets;
};

} // namespace vantor
