#pragma once

// The Prompter of vantor-cli: there is nobody to ask, so messages and questions are
// written to the error stream and questions take their default answer (No for Yes/No,
// Yes for Yes/No/Cancel, OK for OK/Cancel). A save dialog returns the path the command
// was given, once; the password dialog returns the --password value, once; everything
// else is cancelled.

#include "common/Prompter.h"

#include <optional>
#include <ostream>
#include <string>

namespace vantor::cli {

class CliPrompter : public Prompter {
public:
    explicit CliPrompter(std::ostream &err) : m_err(err) {}

    void setSavePath(std::string path) { m_savePath = std::move(path); }
    void setPassword(std::string password) { m_password = std::move(password); }
    int messagesShown() const { return m_messages; }

    void message(const std::string &text, const std::string &title, MessageIcon icon) override;
    Answer question(const std::string &text, const std::string &title, QuestionButtons buttons,
                    MessageIcon icon = MessageIcon::Question) override;
    std::optional<std::string> openFileName(const FileDialogRequest &request) override;
    std::optional<std::string> saveFileName(const FileDialogRequest &request) override;
    std::optional<std::string> inputText(const std::string &prompt, const std::string &title,
                                         const std::string &initial) override;

private:
    std::ostream &m_err;
    std::optional<std::string> m_savePath;
    std::optional<std::string> m_password;
    int m_messages = 0;
};

} // namespace vantor::cli
