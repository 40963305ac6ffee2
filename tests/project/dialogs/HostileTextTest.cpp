// Hostile text pasted into every text box of the project dialogs (see
// support/HostileText.h); what OK stores reads back from the project database
// exactly as the box showed it, with the chosen date.

#include "support/HostileText.h"
#include "project/ProjectTestSupport.h"
#include "project/dialogs/dlgPmprop.h"
#include "project/dialogs/dlgSheetName.h"
#include "support/ScriptedPrompter.h"

#include "DialogTestSupport.h"

#include <QDateEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace vantor;
using vantor::test::pasteIntoEveryBox;

namespace {

class HostileTextTest : public ::testing::Test {
protected:
    test::ScopedSettings m_settings;
    test::ScriptedPrompter m_prompter;
    test::MemoryProject m_project;
    ProjectStore &m_store = m_project.store;
};

TEST_F(HostileTextTest, NodePropertiesAreStoredAsShown)
{
    dlgPmprop dialog(
        dlgPmprop::loadForm(m_store, 0), [this](const NodeProperties &p) { m_store.updateNodeProperties(0, p); },
        m_prompter);
    pasteIntoEveryBox(dialog);
    dialog.DTPicker1->setDate(QDate(2024, 2, 29));
    const NodePropertiesForm shown = dialog.form();
    dialog.cmdRight->click();
    const NodeProperties stored = m_store.node(0)->properties;
    EXPECT_EQ(stored.pgjzr,
              (std::chrono::year_month_day{std::chrono::year{2024}, std::chrono::month{2}, std::chrono::day{29}}));
    EXPECT_EQ(stored.pmname, shown.pmname);
    EXPECT_EQ(stored.zczydw, shown.zczydw);
    EXPECT_EQ(stored.zcpgs, shown.zcpgs);
    EXPECT_EQ(stored.xmfzr, shown.xmfzr);
    EXPECT_EQ(stored.frdb, shown.frdb);
    EXPECT_EQ(m_store.nodes().size(), 1u) << "nothing but the one row changed";
}

TEST_F(HostileTextTest, SheetNamesAreStoredAsShown)
{
    m_store.insertSheet({16, "表3-4", "应收账款"});
    dlgSheetName dialog(
        *m_store.sheet(16),
        [this](const std::string &code, const std::string &name) { m_store.updateSheetName(16, code, name); },
        m_prompter);
    pasteIntoEveryBox(dialog);
    const std::string code = dialog.code(), name = dialog.name();
    dialog.cmdRight->click();
    EXPECT_EQ(m_store.sheet(16)->code, code);
    EXPECT_EQ(m_store.sheet(16)->name, name);
}

} // namespace
