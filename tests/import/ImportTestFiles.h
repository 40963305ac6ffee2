#pragma once

// Files the import tests write: zip archives with chosen parts, and the cell lookup of a read
// sheet.

#include "import/ForeignSheet.h"
#include "support/TempDir.h"

#include <zip.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace vantor::test {

using ZipParts = std::vector<std::pair<std::string, std::string>>;

inline void writeZip(const std::string &path, const ZipParts &parts)
{
    int error = 0;
    zip_t *zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_TRUE(zip);
    for (const auto &[name, content] : parts) {
        zip_source_t *source = zip_source_buffer(zip, content.data(), content.size(), 0);
        ASSERT_GE(zip_file_add(zip, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

// The parts of a one-sheet workbook around the given worksheet XML.
inline ZipParts minimalWorkbook(const std::string &sheetXml)
{
    return {{"xl/workbook.xml", "<workbook xmlns:r=\"r\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/>"
                                "</sheets></workbook>"},
            {"xl/_rels/workbook.xml.rels",
             "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
            {"xl/worksheets/sheet1.xml", sheetXml}};
}

inline const ForeignCell *cellAt(const ForeignSheet &sheet, int col, int row)
{
    for (const ForeignCell &c : sheet.cells)
        if (c.col == col && c.row == row)
            return &c;
    return nullptr;
}

inline std::string inputAt(const ForeignSheet &sheet, int col, int row)
{
    const ForeignCell *c = cellAt(sheet, col, row);
    return c ? c->input : std::string("<empty>");
}

} // namespace vantor::test
