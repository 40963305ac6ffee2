#pragma once

// The Prompter of the running program: Qt message boxes, file dialogs and input
// dialogs, owned by a parent window, with Chinese button texts.

#include "common/Prompter.h"

class QWidget;

namespace vantor {

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget *owner) : m_owner(owner) {}

    void message(const std::string &text, const std::string &title, MessageIcon icon) override;
    Answer question(const std::string &text, const std::string &title, QuestionButtons buttons,
                    MessageIcon icon = MessageIcon::Question) override;
    std::optional<std::string> openFileName(const FileDialogRequest &request) override;
    std::optional<std::string> saveFileName(const FileDialogRequest &request) override;
    std::optional<std::string> inputText(const std::string &prompt, const std::string &title,
                                         const std::string &initial) override;

private:
    QWidget *m_owner;
};

} // namespace vantor
