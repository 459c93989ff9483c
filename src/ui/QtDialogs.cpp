#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

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

QString ToolkitFilter(const std::string& filter) {
    // The shown part of each pair names its patterns itself, which is what the
    // toolkit reads; the pattern parts are left out.
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList shown;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        shown << parts[i];
    }
    return shown.join(";;");
}

QString SuffixForFilter(const QString& nameFilter, const QString& fallback) {
    static const QRegularExpression firstPattern(R"(\(\s*\*\.([A-Za-z0-9]+)[\s)])");
    const QRegularExpressionMatch match = firstPattern.match(nameFilter);
    return match.hasMatch() ? match.captured(1) : fallback;
}

std::optional<std::string> QtDialogs::Run(const FileDialogSpec& spec, bool save) {
    QFileDialog dialog(parent_, QString::fromStdString(spec.Title),
                       QString::fromStdString(spec.Folder), ToolkitFilter(spec.Filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QString suffix = QString::fromStdString(spec.DefaultExt);
    if (suffix.startsWith('.')) {
        suffix.remove(0, 1);
    }
    dialog.setDefaultSuffix(suffix);
    // A name typed without suffix gets the one of the file type chosen ("graph"
    // saved as PNG picture becomes graph.png); "All files" keeps the default.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffix](const QString& chosen) {
                         dialog.setDefaultSuffix(SuffixForFilter(chosen, suffix));
                     });
    if (!spec.FileName.empty()) {
        dialog.selectFile(QString::fromStdString(spec.FileName));
    }
    // The callers ask their own overwrite question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first().toStdString();
}

} // namespace brekka
