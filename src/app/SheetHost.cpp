#include "app/SheetHost.h"

#include "app/CellWidgetHost.h"

namespace vantor {

std::unique_ptr<SheetHost> createSheetHost(Workbook &workbook, QWidget *parent)
{
    return std::make_unique<CellWidgetHost>(workbook, parent);
}

} // namespace vantor
