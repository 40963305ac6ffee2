#pragma once

// The spreadsheet widget as the main window's sheet view: forwards the view-side
// operations to CellWidget and turns its signals into the window's SheetEvents.

#include "app/SheetHost.h"

#include <memory>

namespace vantor {

class CellWidget;

class CellWidgetHost : public SheetHost {
public:
    CellWidgetHost(Selection &selection, QWidget *parent);
    ~CellWidgetHost() override;

    QWidget *widget() override;
    Workbook &workbook() override { return m_workbook; }
    void setEvents(SheetEvents events) override;

    bool isEditing() const override;
    bool endEditing() override;
    void cancelEditing() override;
    void DoRedraw() override;
    void DoRefreshLayout() override;
    void DoUndo() override;
    void DoRedo() override;
    void DoCut() override;
    void DoCopy() override;
    void DoPaste(int col, int row, bool whole) override;
    void DoFind(bool matchCase) override;
    void DoPageSetup() override;
    void DoPrintPreview(bool modal) override;

    CellWidget &cellWidget() { return *m_widget; }

private:
    Workbook &m_workbook;
    std::unique_ptr<CellWidget> m_widget;
    // Shared with the signal connections, which outlive no one but may run while
    // the events are being replaced.
    std::shared_ptr<SheetEvents> m_events;
};

} // namespace vantor
