#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace brekka {

void QtDialogs::ShowMessage(const std::string& text) {
    QMessageBox::information(parent_, QApplication::applicationName(),
                             QString::fromStdString(text));
}

bool QtDialogs::AskYesNo(const std::string& question) {
    return QMessageBox::question(parent_, QApplication::applicationName(),
                                 QString::fromStdString(question),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> QtDialogs::OpenFile(const FileDialogSpec& spec) {
    return Run(spec, false);
}

std::optional<std::string> QtDialogs::SaveFile(const FileDialogSpec& spec) {
    return Run(spec, true);
}

std::optional<std::string> QtDialogs::Run(const FileDialogSpec& spec, bool save) {
    // "Input files (*.inp)|*.inp": the part before the bar is what the toolkit shows.
    const QString filter = QString::fromStdString(spec.Filter).section('|', 0, 0);
    QFileDialog dialog(parent_, QString::fromStdString(spec.Title),
                       QString::fromStdString(spec.Folder), filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QString suffix = QString::fromStdString(spec.DefaultExt);
    if (suffix.startsWith('.')) {
        suffix.remove(0, 1);
    }
    dialog.setDefaultSuffix(suffix);
    // The callers ask their own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first().toStdString();
}

} // namespace brekka
