#include "sheet_component/engine/Formula.h"

namespace vantor {

struct FormulaTree {
    std::vector<RangeRef> references;
};

Formula::Formula(std::shared_ptr<const FormulaTree> tree) : m_tree(std::move(tree)) {}

std::optional<Formula> Formula::parse(std::string_view, std::string *error)
{
    if (error)
        *error = "公式解析尚未实现";
    return std::nullopt;
}

CellValue Formula::evaluate(const FormulaContext &, int) const { return CellValue::error(CellError::Parse); }
const std::vector<RangeRef> &Formula::references() const { return m_tree->references; }
bool Formula::hasGetcell() const { return false; }
std::string Formula::text() const { return {}; }
bool Formula::insertRows(int, int) { return false; }
bool Formula::deleteRows(int, int) { return false; }
bool Formula::insertCols(int, int) { return false; }
bool Formula::deleteCols(int, int) { return false; }

std::string columnName(int col)
{
    std::string name;
    for (int n = col + 1; n > 0; n = (n - 1) / 26)
        name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
    return name;
}

} // namespace vantor
