// The handlers of the output page.
#include <filesystem>

#include "ui/BrekkaForm.h"

namespace brekka {

void TBrekkaForm::OutputTabSheetShow() {
    ShowStatus("The output file can be inspected");
    InputSaveAction->setEnabled(false);
    GraphSaveAction->setEnabled(false);
    GraphicsTab* graphics = GraphicsTabSheet;
    for (QWidget* each : {static_cast<QWidget*>(graphics->GraphImage),
                          static_cast<QWidget*>(graphics->PictureImage),
                          static_cast<QWidget*>(graphics->SaveGraphButton),
                          static_cast<QWidget*>(graphics->SaveBlWhButton),
                          static_cast<QWidget*>(graphics->SelectButton),
                          static_cast<QWidget*>(graphics->BPButton)}) {
        each->hide();
    }
    GraphShown = false;
    HelpForm->hide();
    if (!ResultShown) {
        OutputTab* output = OutputTabSheet;
        for (QWidget* each :
             {static_cast<QWidget*>(output->OutputMemo), static_cast<QWidget*>(output->AnovaButton),
              static_cast<QWidget*>(output->SymbolsButton),
              static_cast<QWidget*>(output->GraphicsButton)}) {
            each->hide();
        }
    }
}

void TBrekkaForm::OutputTabSheetExit() {
    SymbolsForm->hide();
}

void TBrekkaForm::SymbolsButtonClick() {
    SymbolsForm->show();
    SymbolsForm->raise();
}

void TBrekkaForm::AnovaButtonClick() {
    OutputTab* output = OutputTabSheet;
    if (output->AnovaButton->text() == "Anova table") {
        output->AnovaButton->setText("Close Anova");
        data_.FileName = ChangeFileExt(data_.FileName, ".var");
        if (data_.ReadResultFile(data_.FileName, ".var")) {
            output->ShowLines(data_.OutputLines);
            output->SymbolsButton->hide();
            SymbolsForm->hide();
            output->GraphicsButton->hide();
        }
    } else {
        output->AnovaButton->setText("Anova table");
        output->SymbolsButton->setText("Symbols");
        data_.FileName = ChangeFileExt(data_.FileName, ".out");
        if (data_.ReadResultFile(data_.FileName, ".out")) {
            output->ShowLines(data_.OutputLines);
            output->SymbolsButton->show();
            output->GraphicsButton->show();
        }
    }
}

void TBrekkaForm::OutputOpenActionExecute() {
    const std::optional<std::string> name = dialogs_.OpenFile(OutputOpenDialog);
    OutputTab* output = OutputTabSheet;
    if (!name) {
        Message("No output file selected");
    } else if (std::error_code error; !std::filesystem::is_regular_file(*name, error)) {
        Message("File does not exist, please select another one,");
    } else {
        data_.FileName = *name;
        // A file the user chose is never deleted, however short.
        if (data_.ReadResultFile(data_.FileName, ".out")) {
            ShowStatus("The output file can be imported into spreadsheets");
            output->ShowLines(data_.OutputLines);
            ResultShown = true;
            output->OutputMemo->show();
        }
    }
    SetDialogFolder(Folder(data_.FileName));
    for (QWidget* each : {output->AnovaButton, output->SymbolsButton, output->GraphicsButton}) {
        each->show();
    }
    ResetGraphicsTab();
    GraphKind = 0;
    output->SymbolsButton->setText("Symbols");
    output->AnovaButton->setText("Anova table");
    PageControl1->setCurrentWidget(OutputTabSheet);
}

} // namespace brekka
