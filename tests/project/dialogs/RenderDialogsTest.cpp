// Every dialog of the folder: no control is cut off or overlaps another.

#include "project/dialogs/dlgFrdb.h"
#include "project/dialogs/dlgLogin.h"
#include "project/dialogs/dlgPmprop.h"
#include "project/dialogs/dlgPmtype.h"
#include "project/dialogs/dlgSheetName.h"
#include "project/dialogs/dlgpwd.h"
#include "support/ScriptedPrompter.h"

#include "DialogTestSupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace vantor;

namespace
{

// Labels, buttons and boxes lie inside the dialog and do not overlap.
void expectTidy(QWidget &dialog)
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
        if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
        }
    }
    for (int i = 0; i < controls.size(); ++i)
        for (int j = i + 1; j < controls.size(); ++j) {
            if (controls[i]->isAncestorOf(controls[j]) || controls[j]->isAncestorOf(controls[i]))
                continue;
            const QRect a(controls[i]->mapTo(&dialog, QPoint(0, 0)), controls[i]->size());
            const QRect b(controls[j]->mapTo(&dialog, QPoint(0, 0)), controls[j]->size());
            EXPECT_FALSE(a.intersects(b)) << controls[i]->objectName().toStdString() << " / "
                                          << controls[j]->objectName().toStdString();
        }
    dialog.hide();
}

TEST(DialogLayout, NoControlIsCutOffOrOverlapsAnother)
{
    test::ScopedSettings settings;
    test::ScriptedPrompter prompter;
    NodePropertiesForm form;
    form.zczydw = "甲市某某机械制造有限责任公司";
    dlgPmtype type;
    dlgPmprop props(form, [](const NodeProperties &) {}, prompter);
    dlgFrdb frdb;
    dlgpwd pwd(true, prompter);
    dlgLogin login([](const std::string &) { return false; }, prompter);
    dlgSheetName name({16, "表3-4", "应收账款清查评估明细表"}, [](const std::string &, const std::string &) {},
                      prompter);
    for (QWidget *dialog : std::initializer_list<QWidget *>{&type, &props, &frdb, &pwd, &login, &name}) {
        SCOPED_TRACE(dialog->metaObject()->className());
        expectTidy(*dialog);
    }
}

} // namespace
