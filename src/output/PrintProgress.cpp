#include "output/PrintProgress.h"

#include "common/Rounding.h"

#include <algorithm>

namespace vantor {

std::string PrintProgress::percentText(double step)
{
    const double percent = roundHalfEven(std::clamp(step, 0.0, 10.0) * 10.0, 0);
    return std::to_string(static_cast<int>(percent)) + "%";
}

} // namespace vantor
