#include "CliPrompter.h"

namespace vantor::cli {

void CliPrompter::message(const std::string &text, const std::string &title, MessageIcon)
{
    ++m_messages;
    m_err << title << ": " << text << "\n";
}

Answer CliPrompter::question(const std::string &text, const std::string &title, QuestionButtons buttons, MessageIcon)
{
    Answer answer = Answer::No;
    const char *shown = "否";
    if (buttons == QuestionButtons::YesNoCancel) {
        answer = Answer::Yes;
        shown = "是";
    } else if (buttons == QuestionButtons::OkCancel) {
        answer = Answer::Ok;
        shown = "确定";
    }
    m_err << title << ": " << text << " [" << shown << "]\n";
    return answer;
}

std::optional<std::string> CliPrompter::openFileName(const FileDialogRequest &)
{
    return std::nullopt;
}

std::optional<std::string> CliPrompter::saveFileName(const FileDialogRequest &)
{
    auto path = std::move(m_savePath);
    m_savePath.reset();
    return path;
}

std::optional<std::string> CliPrompter::inputText(const std::string &, const std::string &, const std::string &)
{
    auto typed = std::move(m_password);
    m_password.reset();
    return typed;
}

} // namespace vantor::cli
