#include "app/ProjectDialogs.h"

#include "project/dialogs/dlgLogin.h"
#include "project/dialogs/dlgPmprop.h"
#include "project/dialogs/dlgPmtype.h"
#include "project/dialogs/dlgpwd.h"
#include "sheets/dialogs/dlgSheetInst.h"

namespace vantor {

ProjectKind QtProjectDialogs::chooseKind()
{
    dlgPmtype dialog(m_parent);
    dialog.exec();
    return dialog.kind();
}

std::optional<NodePropertiesForm> QtProjectDialogs::editNodeProperties(const NodePropertiesForm &form,
                                                                       const StoreFunction &store)
{
    dlgPmprop dialog(form, store, m_prompter, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.form();
}

std::optional<ProjectDialogs::PasswordBoxes> QtProjectDialogs::changePassword(bool hasPassword)
{
    dlgpwd dialog(hasPassword, m_prompter, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return PasswordBoxes{dialog.box1(), dialog.box2()};
}

LoginFunction QtProjectDialogs::login()
{
    return dlgLogin::loginFunction(m_parent, m_prompter);
}

std::optional<SheetListRow> QtProjectDialogs::chooseSheet(const std::vector<std::string> &existingKeys)
{
    dlgSheetInst dialog(existingKeys, m_parent);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedId() == 0)
        return std::nullopt;
    return SheetListRow{static_cast<int16_t>(dialog.selectedId()), dialog.selectedCode(), dialog.selectedName()};
}

} // namespace vantor
