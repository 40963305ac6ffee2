#pragma once

// Files the import tests write: a scratch folder, zip archives with chosen parts, and the
// cell lookup of a read sheet.

#include "import/ForeignSheet.h"

#include <zip.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace vantor::test
{

class ScratchDir
{
  public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantor-import-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;
    std::string file(const std::string &name) const { return (m_path / name).string(); }
    const std::filesystem::path &path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

inline void writeBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

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
    return {{"xl/workbook.xml",
             "<workbook xmlns:r=\"r\"><sheets><sheet name=\"S\" sheetId=\"1\" r:id=\"rId1\"/>"
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
