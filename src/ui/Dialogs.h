#pragma once
// Everything the window asks of the user goes through here: messages and Yes/No
// questions (the data module's MessageSink) and the file dialogs. The window uses
// message boxes and file dialogs; tests answer without a person.
#include <optional>
#include <string>

#include "data/Messages.h"

namespace brekka {

struct FileDialogSpec {
    std::string Title;
    // Pairs of what the dialog shows and the patterns it means, all joined by "|":
    // "Input files (*.inp *.csv)|*.inp;*.csv|All files (*)|*". The first is chosen.
    std::string Filter;
    std::string DefaultExt; // "inp"
    std::string Folder;     // initial folder, set by SetDialogFolder
    std::string FileName;   // the name proposed in the folder; empty for none
};

class Dialogs : public MessageSink {
public:
    // The chosen file name, or nothing when the user cancelled.
    virtual std::optional<std::string> OpenFile(const FileDialogSpec& spec) = 0;
    virtual std::optional<std::string> SaveFile(const FileDialogSpec& spec) = 0;
};

} // namespace brekka
