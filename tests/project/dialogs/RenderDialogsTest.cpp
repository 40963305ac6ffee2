// Every dialog of the folder: no control is cut off or overlaps another, and hostile text
// pasted into the boxes whose text is not stored (HostileTextTest covers the stored ones).

#include "project/dialogs/dlgFrdb.h"
#include "project/dialogs/dlgLogin.h"
#include "project/dialogs/dlgPmprop.h"
#include "project/dialogs/dlgPmtype.h"
#include "project/dialogs/dlgSheetName.h"
#include "project/dialogs/dlgpwd.h"
#include "support/ScriptedPrompter.h"

#include "DialogTestSupport.h"
#include "support/DialogLayout.h"
#include "support/HostileText.h"

#include <gtest/gtest.h>

using namespace vantor;

namespace {

TEST(DialogLayout, NoControlIsCutOffOrOverlapsAnother)
{
    test::ScopedSettings settings;
    test::ScriptedPrompter prompter;
    NodePropertiesForm form;
    form.zczydw = "甲市某某机械制造有限责任公司";
    dlgPmtype type;
    dlgPmprop props(
        form, [](const NodeProperties &) {}, prompter);
    dlgFrdb frdb;
    dlgpwd pwd(true, prompter);
    dlgLogin login([](const std::string &) { return false; }, prompter);
    dlgSheetName name(
        {16, "表3-4", "应收账款清查评估明细表"}, [](const std::string &, const std::string &) {}, prompter);
    for (QWidget *dialog : std::initializer_list<QWidget *>{&type, &props, &frdb, &pwd, &login, &name}) {
        SCOPED_TRACE(dialog->metaObject()->className());
        test::expectTidy(*dialog);
    }
    for (QWidget *dialog : std::initializer_list<QWidget *>{&frdb, &pwd, &login})
        test::pasteIntoEveryBox(*dialog);
}

} // namespace
