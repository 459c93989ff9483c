#pragma once
// Answers the window's dialogs from queues the test fills, and keeps every message.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/Dialogs.h"

namespace brekka::testing {

class FakeDialogs : public Dialogs {
public:
    std::deque<std::optional<std::string>> files; // answers of open and save dialogs
    std::deque<bool> answers;                     // Yes/No; Yes when empty
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::vector<FileDialogSpec> shownDialogs;

    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& question) override {
        questions.push_back(question);
        if (answers.empty()) {
            return true;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> OpenFile(const FileDialogSpec& spec) override { return Next(spec); }
    std::optional<std::string> SaveFile(const FileDialogSpec& spec) override { return Next(spec); }
    void Clear() {
        messages.clear();
        questions.clear();
    }

private:
    std::optional<std::string> Next(const FileDialogSpec& spec) {
        shownDialogs.push_back(spec);
        if (files.empty()) {
            return std::nullopt;
        }
        std::optional<std::string> file = files.front();
        files.pop_front();
        return file;
    }
};

} // namespace brekka::testing
