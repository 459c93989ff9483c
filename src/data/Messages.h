#pragma once
// How the data module and the engines talk to the user. The window shows message
// boxes, brekka-calc prints to standard error, tests record what was said.
#include <string>
#include <vector>

namespace brekka {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // An OK box with the text; the action goes on or ends as the caller decides.
    virtual void ShowMessage(const std::string& text) = 0;
    // A Yes/No confirmation box; true for Yes.
    virtual bool AskYesNo(const std::string& question) = 0;
};

// Keeps every message; answers questions with a fixed answer.
class RecordingMessageSink : public MessageSink {
public:
    explicit RecordingMessageSink(bool answer = true) : answer_(answer) {}
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool AskYesNo(const std::string& question) override {
        questions.push_back(question);
        return answer_;
    }
    std::vector<std::string> messages;
    std::vector<std::string> questions;

private:
    bool answer_;
};

} // namespace brekka
