// The handlers of the input page.
#include <QHeaderView>
#include <filesystem>

#include "ui/BrekkaForm.h"

namespace brekka {
namespace {

const char* const kPasteFailed = "There are no data to be pasted or some of the data are invalid.";

QTableWidgetItem* SerialItem(int row) {
    auto* item = new QTableWidgetItem(QString::number(row));
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(QColor(236, 236, 236));
    return item;
}

} // namespace

GridTexts TBrekkaForm::GridToTexts() const {
    const DataGridWidget* grid = InputTabSheet->StringGrid1;
    GridTexts texts;
    texts.Columns = grid->columnCount() - 1;
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 1; c < grid->columnCount(); ++c) {
            const QTableWidgetItem* item = grid->item(r, c);
            texts.At(r + 1, c) = item ? item->text().toStdString() : std::string();
        }
    }
    return texts;
}

void TBrekkaForm::TextsToGrid(const GridTexts& texts, int rows) {
    DataGridWidget* grid = InputTabSheet->StringGrid1;
    const QSignalBlocker blocker(grid);
    grid->setRowCount(rows);
    for (int r = 1; r <= rows; ++r) {
        grid->setItem(r - 1, 0, SerialItem(r));
        for (int c = 1; c < grid->columnCount(); ++c) {
            grid->setItem(r - 1, c, new QTableWidgetItem(QString::fromStdString(texts.Get(r, c))));
        }
    }
}

void TBrekkaForm::SetGridShape() {
    DataGridWidget* grid = InputTabSheet->StringGrid1;
    const QSignalBlocker blocker(grid);
    const int nrOfVar = data_.NrOfVar;
    grid->setColumnCount(nrOfVar + 2);
    grid->setRowCount(data_.NrOfData);
    QStringList headers{"Serial", "    Y", "    X"};
    if (nrOfVar == 2) {
        headers << "    Z";
    }
    grid->setHorizontalHeaderLabels(headers);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->setColumnWidth(0, 45);
    for (int c = 1; c <= nrOfVar + 1; ++c) {
        grid->setColumnWidth(c, 75);
    }
    grid->setFixedWidth((nrOfVar + 1) * 75 + (data_.NrOfData > 12 ? 75 : 55));
    for (int r = 0; r < grid->rowCount(); ++r) {
        if (!grid->item(r, 0)) {
            grid->setItem(r, 0, SerialItem(r + 1));
        }
    }
    InputTabSheet->InputImage->setVisible(nrOfVar == 1 && !InputTabSheet->HelpMemo->isVisible() &&
                                          !InputTabSheet->PasteMemo->isVisible());
}

void TBrekkaForm::FillGrid() {
    InputTab* input = InputTabSheet;
    data_.Resize(data_.NrOfData);
    input->NrOfDataEdit->setText(QString::number(data_.NrOfData));
    input->NrOfVarComboBox->setCurrentIndex(data_.NrOfVar - 1);
    SetGridShape();
    GridTexts texts;
    texts.Columns = data_.NrOfVar + 1;
    const char separator = settings_.DecimalSeparator;
    for (int i = 1; i <= data_.NrOfData; ++i) {
        data_.SerialNr[static_cast<size_t>(i - 1)] = i;
        if (DataLoaded && i > RowsWithValues) {
            continue;
        }
        const size_t k = static_cast<size_t>(i - 1);
        const double values[3] = {data_.YData[k], data_.XData[k], data_.ZData[k]};
        for (int c = 1; c <= texts.Columns; ++c) {
            texts.At(i, c) = DataLoaded ? GridNumberText(values[c - 1], separator) : "0";
        }
    }
    TextsToGrid(texts, data_.NrOfData);
    PreviousNrOfData = data_.NrOfData;
}

void TBrekkaForm::InputTabSheetShow() {
    InputTab* input = InputTabSheet;
    ShowStatus("Enter data or use \"Open\" to edit existing data. Then use \"Save-Calculate\".");
    if (input->HelpMemo->isVisible()) {
        HelpOpenButtonClick();
    }
    input->HelpMemo->hide();
    InputSaveAction->setEnabled(true);
    input->SaveButton->show();
    Pasting = false;
    OutputTab* output = OutputTabSheet;
    output->OutputMemo->hide();
    for (QWidget* each : {output->AnovaButton, output->SymbolsButton, output->GraphicsButton}) {
        each->hide();
    }
    GraphicsTab* graphics = GraphicsTabSheet;
    graphics->GraphImage->hide();
    graphics->PictureImage->hide();
    for (QWidget* each : std::initializer_list<QWidget*>{
             graphics->SaveGraphButton, graphics->SaveBlWhButton, graphics->SelectButton,
             graphics->BPButton, graphics->ChoicesPanel}) {
        each->hide();
    }
    HelpForm->hide();
    if (DataLoaded) {
        SetGridShape();
        return;
    }
    input->FileNameLabel->hide();
    input->FileNameEdit->hide();
    data_.ResetToDefault();
    PreviousNrOfData = 15;
    input->Title1Edit->clear();
    input->Title2Edit->clear();
    FillGrid();
}

void TBrekkaForm::StringGrid1SetEditText(int column, int row, const QString& text) {
    if (IsMultiCellText(text)) {
        if (!HandlePasteMultiCell(column, row, text)) {
            Pasting = false;
            Message(kPasteFailed);
            PageControl1->setCurrentWidget(InputTabSheet);
            return;
        }
    }
    if (Pasting) {
        NrOfDataEditExit();
        Pasting = false;
    }
    DataLoaded = true;
}

bool TBrekkaForm::HandlePasteMultiCell(int column, int row, const QString& text) {
    Pasting = true;
    GridTexts texts = GridToTexts();
    const PasteResult pasted =
        PasteText(texts, column, row, text.toStdString(), settings_.DecimalSeparator);
    if (!pasted.Accepted) {
        return false;
    }
    int nrOfData = pasted.NrOfData;
    if (nrOfData < PreviousNrOfData &&
        dialogs_.AskYesNo("The number of data is less than the original number. Do you want "
                          "to maintain the original number?")) {
        nrOfData = PreviousNrOfData;
    }
    TextsToGrid(texts, nrOfData);
    InputTabSheet->NrOfDataEdit->setText(QString::number(nrOfData));
    const int nrOfVar = texts.Columns == 3 ? 2 : 1;
    GridValues values;
    if (!ConvertAllRows(texts, nrOfData, nrOfVar, data_, settings_, false, values)) {
        return false;
    }
    data_.NrOfVar = nrOfVar;
    data_.Resize(nrOfData);
    for (int i = 0; i < nrOfData; ++i) {
        data_.SerialNr[static_cast<size_t>(i)] = i + 1;
    }
    data_.YData = values.Y;
    data_.XData = values.X;
    data_.ZData = values.Z;
    InputTabSheet->NrOfVarComboBox->setCurrentIndex(nrOfVar - 1);
    SetGridShape();
    PreviousNrOfData = nrOfData;
    RowsWithValues = nrOfData;
    return true;
}

void TBrekkaForm::NrOfDataEditExit() {
    static thread_local bool busy = false; // a message box takes the focus away
    if (busy) {
        return;
    }
    busy = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{busy};

    QLineEdit* edit = InputTabSheet->NrOfDataEdit;
    const QString text = edit->text().trimmed();
    if (text.isEmpty()) {
        return;
    }
    bool isInteger = false;
    const int wanted = text.toInt(&isInteger);
    if (!isInteger) {
        Message("The number of data is not a valid integer");
        return;
    }
    if (wanted < 10) {
        Message(" The minimum number of data is 10");
        return;
    }
    if (Pasting) {
        return;
    }
    if (wanted > PreviousNrOfData) {
        const GridTexts texts = GridToTexts();
        GridValues values;
        const int oldNumber = PreviousNrOfData;
        if (!ConvertAllRows(texts, oldNumber, data_.NrOfVar, data_, settings_, true, values)) {
            Message(NotANumberMessage(values.BadRow, values.BadColumn));
            edit->setText(QString::number(oldNumber));
            return;
        }
        Message(" Add data in the last cells at the end of the column");
        data_.YData = values.Y;
        data_.XData = values.X;
        data_.ZData = values.Z;
        data_.Resize(wanted);
        RowsWithValues = oldNumber;
        FillGrid();
        if (DataLoaded) {
            // Cells the user emptied mark rows to be left out; they stay empty.
            const QSignalBlocker blocker(InputTabSheet->StringGrid1);
            for (int r = 1; r <= oldNumber; ++r) {
                for (int c = 1; c <= texts.Columns; ++c) {
                    if (texts.Get(r, c).empty()) {
                        InputTabSheet->StringGrid1->item(r - 1, c)->setText(QString());
                    }
                }
            }
        }
    } else if (wanted < PreviousNrOfData) {
        Message(" To remove data make the relevant data cells empty");
        edit->setText(QString::number(PreviousNrOfData));
    }
}

void TBrekkaForm::NrOfVarComboBoxChange() {
    InputTab* input = InputTabSheet;
    const int nrOfVar = input->NrOfVarComboBox->currentIndex() == 1 ? 2 : 1;
    // The texts in the grid, typed or pasted, are kept; only a new Z column comes
    // from the data set.
    const GridTexts texts = GridToTexts();
    data_.NrOfVar = nrOfVar;
    data_.ZData.resize(static_cast<size_t>(data_.NrOfData) + 1, 0.0);
    if (Pasting) {
        SetGridShape();
    } else if (!DataLoaded) {
        FillGrid();
    } else {
        const int rows = input->StringGrid1->rowCount();
        data_.NrOfData = rows;
        SetGridShape();
        GridTexts kept = texts;
        kept.Columns = nrOfVar + 1;
        if (nrOfVar == 2) {
            for (int r = 1; r <= rows; ++r) {
                kept.At(r, 3) = GridNumberText(data_.ZData[static_cast<size_t>(r - 1)],
                                               settings_.DecimalSeparator);
            }
        }
        TextsToGrid(kept, rows);
    }
    PageControl1->setCurrentWidget(InputTabSheet);
}

void TBrekkaForm::ConfComboBoxChange() {
    settings_.CriticalValue =
        CriticalValueForConfidence(InputTabSheet->ConfComboBox->currentText().toInt());
}

void TBrekkaForm::PasteButtonClick() {
    InputTab* input = InputTabSheet;
    const bool open = !input->PasteMemo->isVisible();
    input->PasteMemo->setVisible(open);
    input->PasteButton->setText(open ? "Close paste" : "Paste help");
    input->StringGrid1->setVisible(!open);
    for (QWidget* each :
         {input->ClearButton, input->HelpOpenButton, input->SaveButton, input->OpenButton}) {
        each->setEnabled(!open);
    }
    input->InputImage->setVisible(!open && data_.NrOfVar == 1);
}

void TBrekkaForm::HelpOpenButtonClick() {
    InputTab* input = InputTabSheet;
    const bool open = !input->HelpMemo->isVisible();
    input->HelpMemo->setVisible(open);
    input->HelpOpenButton->setText(open ? "Close symbols" : "Symbols help ");
    input->StringGrid1->setVisible(!open);
    for (QWidget* each :
         {input->ClearButton, input->PasteButton, input->SaveButton, input->OpenButton}) {
        each->setEnabled(!open);
    }
    input->InputImage->setVisible(!open && data_.NrOfVar == 1);
}

void TBrekkaForm::ClearButtonClick() {
    if (!dialogs_.AskYesNo("The data will be cleared, are you sure?")) {
        return;
    }
    FormCreate();
    InputTabSheetShow();
    // The grid is reset behind the intro page, which is in front again: its
    // status line and menu state hold, not those of the input page.
    PageChanged(PageControl1->currentIndex());
}

void TBrekkaForm::InputOpenActionExecute() {
    const std::optional<std::string> name = dialogs_.OpenFile(InputOpenDialog);
    if (!name) {
        Message("No input file was selected");
        return;
    }
    OpenInputFile(*name);
}

void TBrekkaForm::OpenInputFile(const std::string& fileName) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error)) {
        Message("File does not exist, please select another one,");
        return;
    }
    // A file the reader refuses leaves the window as it was.
    const std::string previousName = data_.FileName;
    data_.FileName = fileName;
    if (!data_.ReadInputFile()) {
        data_.FileName = previousName;
        return;
    }
    data_.VarOption = data_.NrOfVar == 1 ? 0 : 3;
    InputTab* input = InputTabSheet;
    SetDialogFolder(Folder(fileName));
    // "Save-Calculate" saves an input file: spreadsheet columns are never
    // replaced by one, so their name is proposed with .inp.
    const std::string leaf = std::filesystem::path(fileName).filename().string();
    InputSaveDialog.FileName = IsColumnFileName(leaf) ? ChangeFileExt(leaf, ".inp") : leaf;
    input->ShowFileName(fileName);
    ResetGraphicsTab();
    input->Title1Edit->setText(QString::fromStdString(data_.Title1));
    input->Title2Edit->setText(QString::fromStdString(data_.Title2));
    PreviousNrOfData = data_.NrOfData;
    RowsWithValues = data_.NrOfData;
    DataLoaded = true;
    FillGrid();
    GraphKind = 0;
    // Opened from another page (Ctrl+I), the data are shown where they can be seen.
    PageControl1->setCurrentWidget(InputTabSheet);
    InputTabSheetShow();
}

} // namespace brekka
