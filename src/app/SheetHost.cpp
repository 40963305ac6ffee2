#include "app/SheetHost.h"

#include "app/CellWidgetHost.h"

namespace vantor {

std::unique_ptr<SheetHost> createSheetHost(Selection &selection, QWidget *parent)
{
    return std::make_unique<CellWidgetHost>(selection, parent);
}

} // namespace vantor
