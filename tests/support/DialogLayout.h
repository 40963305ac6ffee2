#pragma once

// What every dialog must look like on the user's screen: its labels, buttons and boxes lie
// inside it, show their whole text and do not overlap.

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <gtest/gtest.h>

namespace vantor::test {

inline void expectTidy(QWidget &dialog)
{
    dialog.adjustSize();
    dialog.show();
    QList<QWidget *> controls;
    for (QWidget *w : dialog.findChildren<QWidget *>())
        if (w->isVisible() && w->parentWidget() &&
            (qobject_cast<QLabel *>(w) || qobject_cast<QAbstractButton *>(w) || qobject_cast<QLineEdit *>(w)))
            controls << w;
    for (QWidget *w : controls) {
        const QRect r(w->mapTo(&dialog, QPoint(0, 0)), w->size());
        EXPECT_TRUE(dialog.rect().contains(r)) << w->objectName().toStdString();
        if (auto *label = qobject_cast<QLabel *>(w)) {
            EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        }
        if (auto *button = qobject_cast<QAbstractButton *>(w); button && !button->text().isEmpty()) {
            EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
        }
    }
    for (int i = 0; i < controls.size(); ++i)
        for (int j = i + 1; j < controls.size(); ++j) {
            if (controls[i]->isAncestorOf(controls[j]) || controls[j]->isAncestorOf(controls[i]))
                continue;
            const QRect a(controls[i]->mapTo(&dialog, QPoint(0, 0)), controls[i]->size());
            const QRect b(controls[j]->mapTo(&dialog, QPoint(0, 0)), controls[j]->size());
            EXPECT_FALSE(a.intersects(b))
                << controls[i]->objectName().toStdString() << " / " << controls[j]->objectName().toStdString();
        }
    dialog.hide();
}

} // namespace vantor::test
