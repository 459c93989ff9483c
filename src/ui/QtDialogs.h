#pragma once
// Dialogs as message boxes and file dialogs of the window toolkit.
#include <QString>
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

// The toolkit's filter of a FileDialogSpec filter: the shown parts joined by ";;"
// ("Input files (*.inp)|*.inp|All files (*)|*" gives "Input files (*.inp);;All
// files (*)").
QString ToolkitFilter(const std::string& filter);

// The suffix a name without one gets while this filter of the toolkit is chosen:
// its first pattern's when that is "*.ext", else the fallback.
QString SuffixForFilter(const QString& nameFilter, const QString& fallback);

} // namespace brekka
