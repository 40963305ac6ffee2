// Hostile text pasted into every text box of the project dialogs: apostrophes,
// quotes, SQL, 10,000 characters, characters outside the basic plane, control
// characters. A box keeps the text as given, or what its rule allows (no
// apostrophe, its length); it never holds half a character; and what OK stores
// reads back from the project database exactly as the box showed it.

#include "project/Database.h"
#include "project/ProjectSchema.h"
#include "project/ProjectStore.h"
#include "project/dialogs/dlgFrdb.h"
#include "project/dialogs/dlgLogin.h"
#include "project/dialogs/dlgPmprop.h"
#include "project/dialogs/dlgSheetName.h"
#include "project/dialogs/dlgpwd.h"
#include "support/ScriptedPrompter.h"

#include "DialogTestSupport.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace vantor;

namespace
{

const QStringList &hostileTexts()
{
    static const QStringList texts{
        QStringLiteral("O'Brien's"),
        QStringLiteral("\"引号\" 与 “全角”"),
        QStringLiteral("'); DROP TABLE pmprop; --"),
        QString(10000, QChar(0x957F)),
        QStringLiteral("a😀😀😀😀😀😀😀😀😀😀😀😀😀😀"), // four-byte characters across every limit
        QStringLiteral("𠀀𠀁 CJK-B"),
        QStringLiteral("tab\there\x01\x7f\u202e"),
    };
    return texts;
}

// Pastes each hostile text into each box of the dialog and checks the rule.
void pasteIntoEveryBox(QWidget &dialog)
{
    const auto boxes = dialog.findChildren<QLineEdit *>();
    ASSERT_FALSE(boxes.isEmpty());
    for (QLineEdit *box : boxes) {
        for (const QString &text : hostileTexts()) {
            box->selectAll();
            box->insert(text);
            if (qobject_cast<QAbstractSpinBox *>(box->parentWidget()))
                continue; // a date box takes only a date; it refuses the rest as typed
            const QString shown = box->text();
            EXPECT_LE(shown.size(), box->maxLength());
            // As given, or the start of it without apostrophes (the box's rule).
            const QString left = QString(text).remove(QLatin1Char('\''));
            EXPECT_TRUE(shown == text || left.startsWith(shown))
                << box->objectName().toStdString() << ": " << shown.toStdString();
            if (left.size() <= box->maxLength() && !box->validator()) {
                EXPECT_EQ(shown, text) << box->objectName().toStdString();
            }
            // Never half of a surrogate pair: the stored UTF-8 would be damaged.
            ASSERT_FALSE(!shown.isEmpty() && shown.back().isHighSurrogate())
                << box->objectName().toStdString() << " keeps half a character of " << text.toStdString();
        }
    }
}

class HostileTextTest : public ::testing::Test
{
  protected:
    HostileTextTest() : m_db(":memory:", Database::Mode::ReadWriteCreate), m_store(m_db)
    {
        ProjectSchema::create(m_db, 1);
    }

    test::ScopedSettings m_settings;
    test::ScriptedPrompter m_prompter;
    Database m_db;
    ProjectStore m_store;
};

TEST_F(HostileTextTest, NodePropertiesAreStoredAsShown)
{
    dlgPmprop dialog(dlgPmprop::loadForm(m_store, 0),
                     [this](const NodeProperties &p) { m_store.updateNodeProperties(0, p); }, m_prompter);
    pasteIntoEveryBox(dialog);
    const NodePropertiesForm shown = dialog.form();
    dialog.cmdRight->click();
    const NodeProperties stored = m_store.node(0)->properties;
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

TEST_F(HostileTextTest, PasswordAndSettingsBoxesFollowTheRule)
{
    dlgFrdb representative;
    pasteIntoEveryBox(representative);
    dlgpwd password(false, m_prompter);
    pasteIntoEveryBox(password);
    dlgLogin login([](const std::string &) { return false; }, m_prompter);
    pasteIntoEveryBox(login);
}

} // namespace
