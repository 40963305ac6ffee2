#include "sheet_component/engine/SheetTypes.h"

#include <algorithm>

namespace vantor {

CellRange CellRange::normalized(int c1, int r1, int c2, int r2)
{
    return CellRange{std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2)};
}

} // namespace vantor
