#include "output/ExcelFormula.h"

#include "sheet_component/engine/Formula.h"

#include <cctype>

namespace vantor {

namespace {

constexpr int ExcelLastCol = 16383;
constexpr int ExcelLastRow = 1048575;

bool isIdentStart(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool isIdentChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

std::string lower(std::string text)
{
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Every name called in the text is one Excel knows with the same meaning.
bool callsOnlyExcelFunctions(const std::string &text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isIdentStart(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && isIdentChar(text[i]))
            ++i;
        std::size_t j = i;
        while (j < text.size() && text[j] == ' ')
            ++j;
        if (j < text.size() && text[j] == '(') {
            const std::string name = lower(text.substr(start, i - start));
            if (name != "sum" && name != "if" && name != "abs")
                return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> ExcelFormula::translate(const Formula *parsed)
{
    if (!parsed || parsed->hasGetcell())
        return std::nullopt;
    for (const RangeRef &r : parsed->references())
        if (r.col2 > ExcelLastCol || r.row2 > ExcelLastRow)
            return std::nullopt;
    const std::string canonical = parsed->text();
    if (!callsOnlyExcelFunctions(canonical))
        return std::nullopt;
    std::string out = "=";
    for (char c : canonical)
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

} // namespace vantor
