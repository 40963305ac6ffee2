#pragma once

// The small interface through which commands ask the user something: message
// boxes, questions, file dialogs and input dialogs. Commands in the domain
// libraries take a Prompter& and never open windows themselves; the main window
// implements it with Qt dialogs, tests with scripted answers
// (tests/support/ScriptedPrompter.h). All texts are UTF-8.

#include <optional>
#include <string>

namespace vantor {

enum class MessageIcon { None, Information, Warning, Critical, Question };

enum class Answer { Ok, Cancel, Yes, No };

// Which buttons a question offers. The default button is the last listed one that
// is not Cancel for YesNo ("No" as default, the convention of destructive
// confirmations) and Yes for YesNoCancel. A question with the warning icon is
// destructive: its default is No or Cancel whatever the buttons.
enum class QuestionButtons { YesNo, YesNoCancel, OkCancel };

struct FileDialogRequest {
    std::string title;
    std::string filter;    // Qt-style filter, e.g. "项目文件 (*.mdb)"
    std::string directory; // starting folder; empty: the last used one
    std::string fileName;  // suggested name (save dialogs)
};

class Prompter {
public:
    virtual ~Prompter() = default;

    virtual void message(const std::string &text, const std::string &title, MessageIcon icon) = 0;
    virtual Answer question(const std::string &text, const std::string &title, QuestionButtons buttons,
                            MessageIcon icon = MessageIcon::Question) = 0;
    // Paths of the chosen file, or nothing when the user cancels.
    virtual std::optional<std::string> openFileName(const FileDialogRequest &request) = 0;
    virtual std::optional<std::string> saveFileName(const FileDialogRequest &request) = 0;
    // A line of text, or nothing when the user cancels.
    virtual std::optional<std::string> inputText(const std::string &prompt, const std::string &title,
                                                 const std::string &initial) = 0;
};

} // namespace vantor
