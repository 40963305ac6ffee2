#include "app/SheetHost.h"

#include "app/PlaceholderSheetView.h"

namespace vantor {

std::unique_ptr<SheetHost> createSheetHost(Workbook &workbook, QWidget *parent)
{
    return std::make_unique<PlaceholderSheetView>(workbook, parent);
}

} // namespace vantor
