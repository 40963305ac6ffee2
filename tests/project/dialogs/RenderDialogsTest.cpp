// Renders every dialog of the folder to a PNG for a person to look at, and
// checks that no control is cut off or overlaps another.

#include "project/dialogs/dlgFrdb.h"
#include "project/dialogs/dlgLogin.h"
#include "project/dialogs/dlgPmprop.h"
#include "project/dialogs/dlgPmtype.h"
#include "project/dialogs/dlgSheetName.h"
#include "project/dialogs/dlgSheetProp.h"
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

TEST(RenderDialogs, NodeDialogs)
{
    test::ScopedSettings settings;
    test::ScriptedPrompter prompter;
    dlgPmtype type;
    expectTidy(type);
    test::renderToPng(type, "dlgPmtype");

    NodePropertiesForm form;
    form.pmname = "甲公司评估";
    form.zczydw = "甲市某某机械制造有限责任公司";
    form.zcpgs = "张三、李四";
    form.xmfzr = "王五";
    form.pgjzr = std::chrono::year_month_day{std::chrono::year{2024}, std::chrono::month{6}, std::chrono::day{30}};
    form.frdb = "赵六";
    dlgPmprop props(form, [](const NodeProperties &) {}, prompter);
    expectTidy(props);
    test::renderToPng(props, "dlgPmprop");

    dlgFrdb frdb;
    expectTidy(frdb);
    test::renderToPng(frdb, "dlgFrdb");
}

TEST(RenderDialogs, PasswordDialogs)
{
    test::ScriptedPrompter prompter;
    dlgpwd pwd(true, prompter);
    expectTidy(pwd);
    test::renderToPng(pwd, "dlgpwd");
    dlgLogin login([](const std::string &) { return false; }, prompter);
    login.txtPassword->setText("abc");
    expectTidy(login);
    test::renderToPng(login, "dlgLogin");
}

TEST(RenderDialogs, SheetDialogs)
{
    test::ScriptedPrompter prompter;
    std::vector<SignatorySheet> sheets;
    const char *names[] = {"流动资产汇总表", "长期投资汇总表", "固定资产汇总表", "货币资金汇总表",
                           "银行存款评估明细表", "应收账款清查评估明细表"};
    int16_t id = 3;
    for (const char *name : names) {
        SignatorySheet s;
        s.id = id;
        s.code = id % 2 ? "表" + std::to_string(id) : "表3-1-" + std::to_string(id);
        s.name = name;
        s.signatories.tbr = id % 2 ? "张三" : "";
        s.signatories.pgry = "李四";
        sheets.push_back(s);
        ++id;
    }
    dlgSheetProp prop(sheets, std::chrono::year_month_day{std::chrono::year{2024}, std::chrono::month{3}, std::chrono::day{5}},
                      [](const std::vector<SheetSignatories> &) {}, prompter);
    test::renderToPng(prop, "dlgSheetProp");

    dlgSheetName name({16, "表3-4", "应收账款清查评估明细表"}, [](const std::string &, const std::string &) {},
                      prompter);
    expectTidy(name);
    test::renderToPng(name, "dlgSheetName");
}

} // namespace
