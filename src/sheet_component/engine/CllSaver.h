#pragma once

// The .cll writer: the complete file content of a workbook, with where the user was in each
// sheet when a selection is given. Engine-internal; CllFile is the entry point.

#include <string>

namespace vantor {

class Selection;
class Workbook;

std::string cllBytes(const Workbook &workbook, const Selection *view);

} // namespace vantor
