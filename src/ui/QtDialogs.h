#pragma once
// Dialogs as message boxes and file dialogs of the window toolkit.
#include <QWidget>

#include "ui/Dialogs.h"

namespace brekka {

class QtDialogs : public Dialogs {
public:
    void SetParent(QWidget* parent) { parent_ = parent; }
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& question) override;
    std::optional<std::string> OpenFile(const FileDialogSpec& spec) override;
    std::optional<std::string> SaveFile(const FileDialogSpec& spec) override;

private:
    QWidget* parent_ = nullptr;
    std::optional<std::string> Run(const FileDialogSpec& spec, bool save);
};

} // namespace brekka
