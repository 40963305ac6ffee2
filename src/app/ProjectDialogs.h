#pragma once

// The modal dialogs the project commands of the main window need, behind one
// interface so the commands can be driven without a user: the kind of a new
// project (dlgPmtype), the properties of a node (dlgPmprop), the project
// password (dlgpwd), the login (dlgLogin) and the add-sheet dialog
// (dlgSheetInst). QtProjectDialogs shows the real dialogs over a parent window.

#include "app/ProgramState.h"
#include "project/NodePropertiesForm.h"
#include "project/ProjectPassword.h"
#include "project/ProjectRecords.h"
#include "project/ProjectSession.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace vantor {

class Prompter;

class ProjectDialogs {
public:
    using StoreFunction = std::function<void(const NodeProperties &)>;

    struct PasswordBoxes {
        ProjectPassword::Box first;
        ProjectPassword::Box second;
    };

    virtual ~ProjectDialogs() = default;

    // None when the user cancels.
    virtual ProjectKind chooseKind() = 0;
    // Shows the properties of a node; OK hands them to `store` (which may throw,
    // keeping the dialog open). The boxes as they were closed, nullopt on a
    // dialog that could not be confirmed.
    virtual std::optional<NodePropertiesForm> editNodeProperties(const NodePropertiesForm &form,
                                                                 const StoreFunction &store) = 0;
    // The two boxes on OK; nullopt on cancel.
    virtual std::optional<PasswordBoxes> changePassword(bool hasPassword) = 0;
    virtual LoginFunction login() = 0;
    // The kind picked in the add-sheet dialog; nullopt on cancel.
    virtual std::optional<SheetListRow> chooseSheet(const std::vector<std::string> &existingKeys) = 0;
};

class QtProjectDialogs : public ProjectDialogs {
public:
    QtProjectDialogs(QWidget *parent, Prompter &prompter) : m_parent(parent), m_prompter(prompter) {}

    ProjectKind chooseKind() override;
    std::optional<NodePropertiesForm> editNodeProperties(const NodePropertiesForm &form,
                                                         const StoreFunction &store) override;
    std::optional<PasswordBoxes> changePassword(bool hasPassword) override;
    LoginFunction login() override;
    std::optional<SheetListRow> chooseSheet(const std::vector<std::string> &existingKeys) override;

private:
    QWidget *m_parent;
    Prompter &m_prompter;
};

} // namespace vantor
