#include "sheet_component/engine/CllFormat.h"

#include "sheet_component/engine/CllBinaryReader.h"

#include <bit>
#include <cmath>

namespace vantor::cll {

std::uint8_t errorCode(CellError error)
{
    switch (error) {
    case CellError::Value:
        return 0;
    case CellError::Ref:
        return 1;
    case CellError::Div0:
        return 2;
    case CellError::Name:
        return 3;
    case CellError::Parse:
        return 4;
    case CellError::Cycle:
        return 5;
    }
    return 0;
}

CellError errorFromCode(std::uint8_t code)
{
    switch (code) {
    case 0:
        return CellError::Value;
    case 1:
        return CellError::Ref;
    case 2:
        return CellError::Div0;
    case 3:
        return CellError::Name;
    case 4:
        return CellError::Parse;
    case 5:
        return CellError::Cycle;
    default:
        CllBinaryReader::damaged("错误值代码无效");
    }
}

bool asDecimal(double value, std::int64_t &units)
{
    if (!(std::fabs(value) < DecimalLimit))
        return false;
    const auto candidate = static_cast<std::int64_t>(std::llround(value * 10000.0));
    if (std::bit_cast<std::uint64_t>(static_cast<double>(candidate) / 10000.0) != std::bit_cast<std::uint64_t>(value))
        return false;
    units = candidate;
    return true;
}

} // namespace vantor::cll
