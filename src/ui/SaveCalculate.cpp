// "Save-Calculate": the data set from the grid, the input file, the calculation
// with its progress lines, and the report on the output page.
#include <QApplication>
#include <filesystem>

#include "data/InputFileName.h"
#include "engine/Calculation.h"
#include "ui/BrekkaForm.h"

namespace brekka {

TBrekkaForm::Choice TBrekkaForm::ChooseInputFile() {
    const std::optional<std::string> name = dialogs_.SaveFile(InputSaveDialog);
    if (!name) {
        return Choice::Declined;
    }
    // The results are written beside the input under .out and .var: such a name
    // would be overwritten by its own report.
    if (IsResultFileName(*name)) {
        Message(ResultFileAsInputMessage(*name));
        return Choice::Refused;
    }
    // "Open input" reads such a name as spreadsheet columns, so the input file
    // could not be opened again, and the columns it replaced would be lost.
    if (IsColumnFileName(*name)) {
        Message("The file \"" + *name +
                "\" cannot be used to save the input: Brekka saves its input files in a "
                "layout of its own, and a name ending in .csv or .txt is read as spreadsheet "
                "columns. Please choose a name ending in .inp.");
        return Choice::Refused;
    }
    data_.FileName = *name;
    std::error_code error;
    if (std::filesystem::exists(*name, error)) {
        return dialogs_.AskYesNo("The file already exists, overwrite?") ? Choice::Chosen
                                                                        : Choice::Declined;
    }
    return Choice::Chosen;
}

void TBrekkaForm::InputSaveActionExecute() {
    if (Running) {
        return;
    }
    const Choice choice = ChooseInputFile();
    if (choice == Choice::Refused) {
        return;
    }
    if (choice == Choice::Declined) {
        Message("The input data were not saved");
        return;
    }
    InputTab* input = InputTabSheet;
    const std::string inputName = data_.FileName;
    InputSaveDialog.FileName = std::filesystem::path(inputName).filename().string();

    // Every complete row is converted before the data set changes.
    const int nrOfVar = input->NrOfVarComboBox->currentIndex() == 1 ? 2 : 1;
    GridValues values;
    if (!ConvertCompleteRows(GridToTexts(), input->StringGrid1->rowCount(), nrOfVar, data_,
                             settings_, values)) {
        Message("Not all data values in the inputfile are real, do not use letters or blanks.");
        return;
    }
    const std::string title1 = input->Title1Edit->text().toStdString();
    const std::string title2 = input->Title2Edit->text().toStdString();
    data_.Title1 = title1.empty() ? " No first title given" : title1;
    data_.Title2 = title2.empty() ? " No second title given" : title2;
    data_.NrOfVar = nrOfVar;
    data_.YData = values.Y;
    data_.XData = values.X;
    data_.ZData = values.Z;
    data_.SerialNr.clear();
    data_.Resize(static_cast<int>(values.Y.size()));
    if (values.NrLeftOut > 0) {
        DataLoaded = true;
        RowsWithValues = data_.NrOfData;
        FillGrid();
    }
    OutputTabSheet->AnovaButton->setText("Anova table");
    input->NrOfDataEdit->setText(QString::number(data_.NrOfData));

    if (data_.WriteInputFile()) { // the run goes on without the file
        input->ShowFileName(inputName);
    }
    settings_.CriticalValue =
        CriticalValueForConfidence(input->ConfComboBox->currentText().toInt());
    data_.VarOption = data_.NrOfVar == 1 ? 0 : 3;

    RunCalculation();
    if (!runSucceeded_) {
        settings_.NoVariationFlag = false;
        input->WaitMemo->hide();
        return;
    }
    data_.FileName = ChangeFileExt(inputName, ".out");
    if (!data_.ReadResultFile(data_.FileName, ".out", true)) {
        input->WaitMemo->hide();
        PageControl1->setCurrentWidget(InputTabSheet);
        return;
    }
    AddProgress(" Filing results ..");
    Pause(500);
    input->WaitMemo->hide();
    Message("The input is saved in " + inputName +
            "   Calculations were done and the output is saved in  " + data_.FileName);

    OutputTab* output = OutputTabSheet;
    output->ShowLines(data_.OutputLines);
    for (QWidget* each :
         {static_cast<QWidget*>(output->OutputMemo), static_cast<QWidget*>(output->AnovaButton),
          static_cast<QWidget*>(output->SymbolsButton),
          static_cast<QWidget*>(output->GraphicsButton)}) {
        each->show();
    }
    GraphicsTab* graphics = GraphicsTabSheet;
    graphics->CalcObs_Button->hide();
    graphics->CalcObs_Button->setText("See calc-obs graph");
    graphics->ConfButton->setText("Remove conf. belt");
    graphics->BlockButton->setText("Remove conf. block");
    const int shownType = data_.VarOption == 3 ? 0 : calculation_->State().chosenType;
    graphics->BlockButton->setVisible(shownType >= 2 && shownType <= 4);
    SetDialogFolder(Folder(data_.FileName));
    ResultShown = true;
    PageControl1->setCurrentWidget(OutputTabSheet);
}

void TBrekkaForm::AddProgress(const std::string& line) {
    InputTab* input = InputTabSheet;
    input->WaitMemo->appendPlainText(QString::fromStdString(line));
    input->WaitMemo->repaint();
    QApplication::processEvents();
}

void TBrekkaForm::Pause(int milliseconds) {
    if (pause_) {
        pause_(milliseconds);
    }
}

void TBrekkaForm::RunCalculation() {
    InputTab* input = InputTabSheet;
    input->PlaceWaitMemo();
    input->WaitMemo->clear();
    input->WaitMemo->show();
    // The window repaints while the lines appear; what the user does meanwhile is
    // dropped, not kept for later.
    Running = true;
    qApp->installEventFilter(this);

    AddProgress(" Saving data .....");
    Pause(500);
    auto progress = [this](const std::string& line) {
        if (line == " Many data ......") {
            Pause(500);
        } else if (line == " Progress 75% ...") {
            Pause(500);
            GraphSaveAction->setEnabled(true);
        }
        AddProgress(line);
        if (line == " Calculating ...." || line == " Progress 75% ...") {
            Pause(500);
        }
    };
    const CalculationStatus status = calculation_->Run(true, progress);
    runSucceeded_ =
        status == CalculationStatus::Completed || status == CalculationStatus::TableFailed;
    if (!runSucceeded_) {
        input->WaitMemo->hide();
    }

    QApplication::processEvents(); // input that came during the run is dropped here
    Running = false;
    qApp->removeEventFilter(this);
}

} // namespace brekka
