#pragma once

// The user the benchmarks stand in for: every question gets `answer`, a save dialog gives
// `savePath`, everything else is dismissed.

#include "common/Prompter.h"

#include <optional>
#include <string>

namespace vantor::bench {

class BenchPrompter : public Prompter {
public:
    explicit BenchPrompter(Answer answer = Answer::No) : m_answer(answer) {}

    std::optional<std::string> savePath;

    void message(const std::string &, const std::string &, MessageIcon) override {}
    Answer question(const std::string &, const std::string &, QuestionButtons, MessageIcon) override
    {
        return m_answer;
    }
    std::optional<std::string> openFileName(const FileDialogRequest &) override { return std::nullopt; }
    std::optional<std::string> saveFileName(const FileDialogRequest &) override { return savePath; }
    std::optional<std::string> inputText(const std::string &, const std::string &, const std::string &) override
    {
        return std::nullopt;
    }

private:
    Answer m_answer;
};

} // namespace vantor::bench
