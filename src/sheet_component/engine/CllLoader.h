#pragma once

// The .cll reader: a workbook from the content of a file whose envelope was checked, every record
// checked before it is believed (throws CllFileError). Where the user was in each sheet goes to
// `views` when given. Engine-internal; CllFile is the entry point.

#include "sheet_component/engine/Selection.h"

#include <memory>
#include <string_view>
#include <vector>

namespace vantor {

class Workbook;

std::unique_ptr<Workbook> workbookFromCll(std::string_view content, std::vector<SheetViewState> *views);

} // namespace vantor
