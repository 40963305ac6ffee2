#include "import/ExternalWorkbook.h"

#include "import/ImportError.h"
#include "import/TextTableReader.h"
#include "import/XlsReader.h"
#include "import/XlsxReader.h"
#include "sheet_component/engine/Workbook.h"
#include "sheets/SheetCatalogue.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace vantor {

namespace {

std::string lowerExtension(const std::string &path)
{
    std::string ext = fs::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

// The temporary copy lives exactly as long as the load.
class TemporaryCopy {
public:
    TemporaryCopy(const std::string &from, const fs::path &to) : m_path(to)
    {
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    }
    ~TemporaryCopy()
    {
        std::error_code ec;
        fs::remove(m_path, ec);
    }
    TemporaryCopy(const TemporaryCopy &) = delete;
    TemporaryCopy &operator=(const TemporaryCopy &) = delete;
    std::string path() const { return m_path.string(); }

private:
    fs::path m_path;
};

// The sheet id a label names: its digits from the second character on ("b16" → 16).
int labelNumber(const std::string &label)
{
    int n = 0;
    for (std::size_t i = 1; i < label.size() && label[i] >= '0' && label[i] <= '9' && n < 10000; ++i)
        n = n * 10 + (label[i] - '0');
    return label.size() > 1 && label[1] >= '0' && label[1] <= '9' ? n : -1;
}

// What the first bytes say the file is: an OLE compound file (old Excel), a zip archive
// (.xlsx) or neither.
enum class Content { Ole, Zip, Other };

Content sniff(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw ImportError("无法读取文件：" + path);
    char head[8] = {};
    in.read(head, sizeof head);
    const std::string_view bytes(head, static_cast<std::size_t>(in.gcount()));
    if (bytes == std::string_view("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))
        return Content::Ole;
    if (bytes.starts_with("PK"))
        return Content::Zip;
    return Content::Other;
}

std::string replaceAll(std::string text, const std::string &from, const std::string &to)
{
    for (std::size_t at = text.find(from); !from.empty() && at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

bool overlaps(const CellRange &a, const CellRange &b)
{
    return a.col1 <= b.col2 && b.col1 <= a.col2 && a.row1 <= b.row2 && b.row1 <= a.row2;
}

} // namespace

void ExternalWorkbook::fillView(const std::vector<ForeignSheet> &sheets, Workbook &view)
{
    Workbook loaded;
    const StyleId style = loaded.styles().intern(CellFormat{});
    for (const ForeignSheet &s : sheets) {
        const int index = loaded.addSheetForLoading(s.name, std::max(s.cols, Workbook::DefaultCols),
                                                    std::max(s.rows, Workbook::DefaultRows));
        Sheet &sheet = loaded.sheetForLoading(index);
        for (const ForeignCell &c : s.cells)
            sheet.loadCell(c.col, c.row, c.value, style);
        for (const auto &[col, width] : s.colWidths)
            sheet.loadColWidth(col, width);
        // Overlapping ranges from a damaged file are dropped: a cell belongs to one merge.
        std::vector<CellRange> kept;
        for (const CellRange &m : s.merges) {
            if (kept.size() >= MaxMerges)
                break;
            if (std::none_of(kept.begin(), kept.end(), [&m](const CellRange &k) { return overlaps(k, m); }))
                kept.push_back(m);
        }
        for (const CellRange &m : kept)
            sheet.loadMerge(m);
    }
    if (!sheets.empty())
        loaded.DoDeleteSheets(0, 1); // the empty sheet every new workbook starts with
    loaded.DoSetDefaultFont(8, 0, "宋体");
    loaded.DoSetCurrentSheet(0);
    loaded.undoStack().clear();
    loaded.DoSetModified(false);
    view.assignFrom(std::move(loaded));
}

void ExternalWorkbook::open(const std::string &path, const std::string &tempFolder, Workbook &view)
{
    const std::string ext = lowerExtension(path);
    std::vector<Entry> entries;
    if (ext == ".cll") {
        Workbook loaded;
        const std::string copyPath = (fs::path(tempFolder) / TempFileName).string();
        try {
            TemporaryCopy copy(path, copyPath);
            loaded.DoOpenFile(copy.path());
        } catch (const fs::filesystem_error &e) {
            throw ImportError("无法复制文件：" + path + "\n" + e.code().message());
        } catch (const std::runtime_error &e) {
            // The user knows the file by its own name, not by the temporary copy's.
            throw ImportError(replaceAll(e.what(), copyPath, path));
        }
        for (int id = SheetCatalogue::FirstDetailId; id <= SheetCatalogue::ContraSheetId; ++id)
            for (int i = 0; i < loaded.SheetCount(); ++i)
                if (labelNumber(loaded.DoGetSheetLabel(i)) == id) {
                    const auto [code, name] = SheetCatalogue::codeAndName(id);
                    entries.push_back({SheetCatalogue::label(id),
                                       SheetCatalogue::caption(code, name, SheetCatalogue::DetailCodeWidth), i});
                    break;
                }
        loaded.DoSetDefaultFont(8, 0, "宋体");
        loaded.DoSetCurrentSheet(0);
        loaded.undoStack().clear();
        loaded.DoSetModified(false);
        view.assignFrom(std::move(loaded));
        m_kind = Kind::Workbook;
        m_sheets.clear();
    } else {
        const bool excel = ext == ".xlsx" || ext == ".xlsm" || ext == ".xls";
        if (!excel && ext != ".csv" && ext != ".txt" && ext != ".tsv")
            throw ImportError(
                "不能打开这种文件：" + path +
                "\n可以打开的有工作簿（.cll）、Excel 工作簿（.xlsx、.xls）和文本表格（.csv、.txt、.tsv）。");
        std::vector<ForeignSheet> sheets;
        // An Excel file is read as what it is, whatever its name says.
        const Content content = excel ? sniff(path) : Content::Other;
        if (content == Content::Ole)
            sheets = XlsReader::read(path);
        else if (content == Content::Zip)
            sheets = XlsxReader::read(path);
        else if (excel)
            throw ImportError("“" + fs::path(path).filename().string() +
                              "”不是 Excel 工作簿（.xlsx 或 .xls），可能已经损坏或只是改了扩展名。");
        else
            sheets.push_back(TextTableReader::read(path));
        for (std::size_t i = 0; i < sheets.size(); ++i)
            entries.push_back({"s" + std::to_string(i), sheets[i].name, static_cast<int>(i)});
        fillView(sheets, view);
        m_kind = excel ? Kind::Excel : Kind::Text;
        m_sheets = std::move(sheets);
    }
    m_entries = std::move(entries);
}

const ForeignSheet *ExternalWorkbook::foreignSheet(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_sheets.size()))
        return nullptr;
    return &m_sheets[static_cast<std::size_t>(index)];
}

} // namespace vantor
