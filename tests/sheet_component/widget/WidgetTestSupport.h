#pragma once

// Shared set-up of the sheet view tests: a workbook shown in a CellWidget of a fixed size, and a
// log of the events the view raises, in the order raised.

#include "sheet_component/engine/Workbook.h"
#include "sheet_component/widget/CellWidget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vantor::test {

class SheetViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        workbook = std::make_unique<Workbook>();
        view = std::make_unique<CellWidget>(*workbook);
        view->resize(640, 400);
        view->show();
        QApplication::setActiveWindow(view.get());
        view->setFocus();
        QApplication::processEvents();
        QObject::connect(view.get(), &CellWidget::mayAct, [this](int c, int r, bool *ok) {
            log.push_back("mayAct " + pos(c, r));
            if (refuseAct)
                *ok = false;
        });
        QObject::connect(view.get(), &CellWidget::mayEdit, [this](int c, int r, bool *ok) {
            log.push_back("mayEdit " + pos(c, r));
            if (r < refuseRowsBelow)
                *ok = false;
        });
        QObject::connect(view.get(), &CellWidget::textChanged, [this](int c, int r, const QString &t) {
            log.push_back("text " + pos(c, r) + " " + t.toStdString());
        });
        QObject::connect(view.get(), &CellWidget::activeCellChanged, [this](int oc, int orow, int nc, int nr) {
            log.push_back("active " + pos(oc, orow) + "->" + pos(nc, nr));
        });
        QObject::connect(view.get(), &CellWidget::repaintRequest, [this] { log.push_back("repaint"); });
    }

    void TearDown() override
    {
        view.reset();
        workbook.reset();
    }

    static std::string pos(int c, int r) { return std::to_string(c) + "," + std::to_string(r); }

    void type(const QString &text)
    {
        // Key events as a keyboard sends them: the typed character is the event's text.
        for (QChar ch : text) {
            const int code = ch.unicode() < 128 ? static_cast<int>(QChar(ch).toUpper().unicode())
                                                : static_cast<int>(Qt::Key_unknown);
            QWidget *target = keyTarget();
            QKeyEvent press(QEvent::KeyPress, code, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(target, &press);
            QKeyEvent release(QEvent::KeyRelease, code, Qt::NoModifier, QString(ch));
            QApplication::sendEvent(target, &release);
        }
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(keyTarget(), k, mods); }
    // Keys go where the keyboard sends them: to the cell editor while it is open.
    QWidget *keyTarget() const
    {
        return view->isEditing() ? static_cast<QWidget *>(view->editor()) : static_cast<QWidget *>(view.get());
    }

    std::string text(int c, int r) const { return workbook->displayText(workbook->CurrentSheet(), c, r); }

    std::unique_ptr<Workbook> workbook;
    std::unique_ptr<CellWidget> view;
    std::vector<std::string> log;
    bool refuseAct = false;
    int refuseRowsBelow = 0;
};

} // namespace vantor::test
