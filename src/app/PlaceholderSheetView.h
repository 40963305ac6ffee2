#pragma once

// A read-only view of the current sheet that stands in for the spreadsheet widget:
// it paints headers, the cells' shown texts with their fonts, alignment and wrapping,
// and merges nothing. It lets the window start, show its welcome page and be tested
// before the real widget is plugged in through createSheetHost().

#include "app/SheetHost.h"

#include <QWidget>

namespace vantor {

class PlaceholderSheetView : public QWidget, public SheetHost {
    Q_OBJECT
public:
    PlaceholderSheetView(Workbook &workbook, QWidget *parent = nullptr);
    ~PlaceholderSheetView() override;

    QWidget *widget() override { return this; }
    Workbook &workbook() override { return m_workbook; }
    void setEvents(SheetEvents events) override { m_events = std::move(events); }

    void DoRedraw() override { update(); }
    void DoRefreshLayout() override { update(); }
    void DoCut() override;
    void DoCopy() override;
    void DoPaste(int col, int row, bool whole) override;
    void DoFind(bool) override {}
    void DoPageSetup() override {}
    void DoPrintPreview(bool) override {}

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool cellAt(const QPoint &pos, int *col, int *row) const;

    Workbook &m_workbook;
    SheetEvents m_events;
};

} // namespace vantor
