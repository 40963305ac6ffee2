// Formula text as typed into a cell. A formula that parses renders to text
// that parses again to the same text; it evaluates, and survives structural
// edits and copying, without crashing.

#include "sheet_component/engine/Formula.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

class Cells : public vantor::FormulaContext {
public:
    vantor::CellValue value(int sheet, int col, int row) const override
    {
        switch ((sheet + col + row) % 4) {
        case 0:
            return vantor::CellValue();
        case 1:
            return vantor::CellValue::number(0.0);
        case 2:
            return vantor::CellValue::text("12,345.5");
        default:
            return vantor::CellValue::number(-2.5);
        }
    }
    int sheetCount() const override { return 3; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    std::string error;
    auto formula = vantor::Formula::parse(text, &error);
    if (!formula)
        return 0;
    const std::string rendered = formula->text();
    auto again = vantor::Formula::parse(rendered);
    if (!again || again->text() != rendered)
        std::abort(); // the canonical text does not read back
    Cells cells;
    formula->evaluate(cells, 0);
    formula->insertRows(3, 2);
    formula->deleteCols(1, 1);
    formula->offset(-1, 5);
    formula->deleteRows(0, 4);
    formula->evaluate(cells, 1);
    (void)formula->text();
    return 0;
}
