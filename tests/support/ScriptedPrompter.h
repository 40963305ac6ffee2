#pragma once

// A Prompter for tests: answers come from queues filled by the test, and every
// call is recorded so that a test can check which messages were shown. An
// unexpected call (an empty queue) fails the test instead of hanging.

#include "common/Prompter.h"

#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace vantor::test {

class ScriptedPrompter : public Prompter {
public:
    struct Shown {
        std::string kind; // "message", "question", "open", "save", "input"
        std::string text;
        std::string title;
        MessageIcon icon = MessageIcon::None;
    };

    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> files; // open and save dialogs, in order
    std::deque<std::optional<std::string>> inputs;
    std::vector<Shown> shown;
    FileDialogRequest lastFileRequest; // what the last file dialog was asked to show

    void message(const std::string &text, const std::string &title, MessageIcon icon) override
    {
        shown.push_back({"message", text, title, icon});
    }

    Answer question(const std::string &text, const std::string &title, QuestionButtons, MessageIcon icon) override
    {
        shown.push_back({"question", text, title, icon});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected question: " << text;
            return Answer::Cancel;
        }
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }

    std::optional<std::string> openFileName(const FileDialogRequest &request) override
    {
        return nextFile("open", request);
    }

    std::optional<std::string> saveFileName(const FileDialogRequest &request) override
    {
        return nextFile("save", request);
    }

    std::optional<std::string> inputText(const std::string &prompt, const std::string &title,
                                         const std::string &) override
    {
        shown.push_back({"input", prompt, title, MessageIcon::None});
        if (inputs.empty()) {
            ADD_FAILURE() << "unexpected input dialog: " << prompt;
            return std::nullopt;
        }
        auto v = inputs.front();
        inputs.pop_front();
        return v;
    }

    // The texts of all message boxes shown so far.
    std::vector<std::string> messages() const
    {
        std::vector<std::string> out;
        for (const auto &s : shown)
            if (s.kind == "message")
                out.push_back(s.text);
        return out;
    }

private:
    std::optional<std::string> nextFile(const char *kind, const FileDialogRequest &request)
    {
        shown.push_back({kind, request.title, request.title, MessageIcon::None});
        lastFileRequest = request;
        if (files.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << request.title;
            return std::nullopt;
        }
        auto v = files.front();
        files.pop_front();
        return v;
    }
};

} // namespace vantor::test
