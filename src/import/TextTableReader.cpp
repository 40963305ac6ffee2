#include "import/TextTableReader.h"

#include "common/Utf8Text.h"
#include "import/ImportError.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>

namespace vantor {

namespace {

std::string tooBig(const std::string &name)
{
    return "“" + name + "”超过 " + std::to_string(ForeignSheet::MaxRows) + " 行或 " +
           std::to_string(ForeignSheet::MaxCols) + " 列，不能打开。";
}

std::string lowerExtension(const std::string &path)
{
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

} // namespace

std::string TextTableReader::toUtf8(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (Utf8Text::isValid(bytes))
        return std::string(bytes);

    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw ImportError("系统不支持 GB18030 编码，无法读取这个文本文件。");
    std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
    // GB18030 takes at most four bytes per character and UTF-8 at most four.
    std::string out(bytes.size() * 2 + 16, '\0');
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = bytes.size();
    char *o = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &o, &outLeft) == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                const std::size_t used = static_cast<std::size_t>(o - out.data());
                out.resize(out.size() * 2);
                o = out.data() + used;
                outLeft = out.size() - used;
                continue;
            }
            throw ImportError("文本既不是 UTF-8 编码也不是 GB18030 编码，无法读取。");
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

ForeignSheet TextTableReader::parse(std::string_view bytes, char separator, const std::string &name)
{
    const std::string text = toUtf8(bytes);
    ForeignSheet sheet;
    sheet.name = name;
    int row = 0, col = 0;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;

    int line = 1;      // physical line of the file, as an editor numbers it
    int quoteLine = 0; // where the open quote started
    auto endField = [&] {
        if (!field.empty()) {
            if (row >= ForeignSheet::MaxRows || col >= ForeignSheet::MaxCols)
                throw ImportError(tooBig(name) + "（第" + std::to_string(line) + "行）");
            ForeignCell cell;
            cell.col = col;
            cell.row = row;
            double number = 0;
            cell.value = parseCellNumber(field, number) ? CellValue::number(number) : CellValue::text(field);
            cell.input = std::move(field);
            sheet.rows = std::max(sheet.rows, row + 1);
            sheet.cols = std::max(sheet.cols, col + 1);
            sheet.cells.push_back(std::move(cell));
        }
        field.clear();
        wasQuoted = false;
        ++col;
    };
    auto endLine = [&] {
        endField();
        ++row;
        col = 0;
    };

    const bool csv = separator == ',';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (csv && c == '"' && field.empty() && !wasQuoted) {
            quoted = wasQuoted = true;
            quoteLine = line;
        } else if (c == separator) {
            endField();
        } else if (c == '\n') {
            endLine();
        } else if (c == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endLine();
        } else {
            field += c;
        }
        if (text[i] == '\n')
            ++line;
    }
    // A quote left open would swallow every line after it into one cell.
    if (quoted)
        throw ImportError("“" + name + "”第" + std::to_string(quoteLine) +
                          "行的引号没有结束，文件不能导入。请检查这一行后再打开。");
    // The last line needs no line break.
    if (!field.empty() || col > 0)
        endLine();
    return sheet;
}

ForeignSheet TextTableReader::read(const std::string &path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec)
        throw ImportError("无法读取文件：" + path);
    if (size > MaxBytes)
        throw ImportError("文件超过 200 MB，不能打开。");
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw ImportError("无法读取文件：" + path);

    char separator = '\t';
    if (lowerExtension(path) == ".csv") {
        const std::string_view first(bytes.data(), std::min(bytes.find('\n'), bytes.size()));
        const bool tabsOnly = first.find('\t') != std::string_view::npos && first.find(',') == std::string_view::npos;
        separator = tabsOnly ? '\t' : ',';
    }
    const std::filesystem::path file(path);
    try {
        return parse(bytes, separator, file.stem().string());
    } catch (const ImportError &e) {
        // The user knows the file by its whole name.
        std::string text = e.what();
        const std::string stem = "“" + file.stem().string() + "”";
        if (text.starts_with(stem))
            text.replace(0, stem.size(), "“" + file.filename().string() + "”");
        throw ImportError(text);
    }
}

} // namespace vantor
