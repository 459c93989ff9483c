// The handlers of the graphics page: every graph on show is read back from the
// current report and planned and drawn by the graph units.
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "data/GraphReader.h"
#include "graphs/drawing/GraphDrawing.h"
#include "graphs/geometry/GraphPlan.h"
#include "ui/BrekkaForm.h"

namespace brekka {

namespace {

// In any case: a report saved as REPORT.OUT is a report.
bool HasExtension(const std::string& name, const std::string& extension) {
    std::string own = std::filesystem::path(name).extension().string();
    std::transform(own.begin(), own.end(), own.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return own == extension;
}

bool IsRegularFile(const std::string& name) {
    std::error_code error;
    return std::filesystem::is_regular_file(name, error);
}

} // namespace

void TBrekkaForm::ConnectGraphicsHandlers() {
    GraphicsTab* g = GraphicsTabSheet;
    connect(OutputTabSheet->GraphicsButton, &QPushButton::clicked, this,
            &TBrekkaForm::GraphicsButtonClick);
    connect(g->GoButton, &QPushButton::clicked, this, &TBrekkaForm::GoButtonClick);
    connect(g->SelectButton, &QPushButton::clicked, this, &TBrekkaForm::SelectButtonClick);
    connect(g->ConfButton, &QPushButton::clicked, this, &TBrekkaForm::ConfButtonClick);
    connect(g->BlockButton, &QPushButton::clicked, this, &TBrekkaForm::BlockButtonClick);
    connect(g->CalcObs_Button, &QPushButton::clicked, this, &TBrekkaForm::CalcObs_ButtonClick);
    connect(g->BPButton, &QPushButton::clicked, this, &TBrekkaForm::BPbuttonClick);
    connect(g->MakeGraphButton, &QPushButton::clicked, this, &TBrekkaForm::MakeGraphButtonClick);
    connect(g->SaveBlWhButton, &QPushButton::clicked, this, &TBrekkaForm::SaveBlWhButtonClick);
    connect(g->SaveGraphButton, &QPushButton::clicked, GraphSaveAction, &QAction::trigger);
    connect(g->SeeGraphButton, &QPushButton::clicked, GraphOpenAction, &QAction::trigger);
    connect(GraphSaveAction, &QAction::triggered, this, &TBrekkaForm::GraphSaveActionExecute);
    connect(GraphOpenAction, &QAction::triggered, this, &TBrekkaForm::GraphOpenActionExecute);
    // A button bound to an action is usable exactly when its action is.
    connect(GraphSaveAction, &QAction::changed, g->SaveGraphButton,
            [this, g] { g->SaveGraphButton->setEnabled(GraphSaveAction->isEnabled()); });
    g->SaveGraphButton->setEnabled(GraphSaveAction->isEnabled());
}

// The report of the current run or of the last report opened; the variance table
// on the output page stands for its report. Empty when there is none.
std::string TBrekkaForm::GraphReportName() const {
    const std::string& name = data_.FileName;
    std::error_code error;
    // An input file or spreadsheet columns just opened: no report yet.
    if (name.empty() || HasExtension(name, ".inp") || IsColumnFileName(name) ||
        std::filesystem::is_directory(name, error)) {
        return {};
    }
    return HasExtension(name, ".var") ? ChangeFileExt(name, ".out") : name;
}

bool TBrekkaForm::ReadGraphReport() {
    const std::string name = GraphReportName();
    if (name.empty()) {
        Message("There is no report to draw a graph from: calculate, or open an output file "
                "with \"Make graph\"");
        return false;
    }
    graphData_.VarOption = data_.VarOption;
    try {
        ReadOutputForGraph(name, graphData_, graphState_);
    } catch (const ReportReadError& error) {
        Message(error.what());
        return false;
    }
    return true;
}

std::optional<QImage> TBrekkaForm::PlanAndDraw() {
    const GraphPlanResult result =
        PlanGraph(graphState_, graphData_, GraphChoice{GraphKind, BeltOn, BlockOn, ColourMode});
    if (!result.plan) {
        Message(result.message);
        return std::nullopt;
    }
    shownType_ = result.plan->state.ShownType;
    return DrawGraph(*result.plan);
}

void TBrekkaForm::ShowGraph(const QImage& picture) {
    GraphicsTab* g = GraphicsTabSheet;
    g->GraphImage->setPixmap(QPixmap::fromImage(picture));
    // "Confidence help" takes the place of "Select graph" when that is hidden.
    g->BPButton->move(g->SelectButton->isHidden() ? 244 : 128, 489);
    g->BPButton->show();
    // The drawn graph replaces an opened picture on the screen.
    g->PictureImage->hide();
    g->GraphImage->show();
}

// The choice of a two-variable graph, the radio captions by the reported sequence.
void TBrekkaForm::ShowChoices() {
    GraphicsTab* g = GraphicsTabSheet;
    g->CalcObs_Button->hide();
    g->CalcObs_Button->setText("See calc-obs graph");
    for (QWidget* each :
         {static_cast<QWidget*>(g->GraphImage), static_cast<QWidget*>(g->BPButton),
          static_cast<QWidget*>(g->ConfButton), static_cast<QWidget*>(g->BlockButton),
          static_cast<QWidget*>(g->SaveGraphButton), static_cast<QWidget*>(g->SaveBlWhButton),
          static_cast<QWidget*>(g->SelectButton)}) {
        each->hide();
    }
    // Nothing is on show that could be saved.
    GraphSaveAction->setEnabled(false);
    HelpForm->hide();
    const bool yx = graphData_.SummaryKey == " Y-X";
    g->Y_XRadioButton->setText(yx ? "Y-X function" : "Y-Z function");
    g->YXr_ZRadioButton->setText(yx ? "Residuals-Z function" : "Residuals-X function");
    g->Calc_ObsRadioButton->setText("Calculated-observed");
    g->Y_ZRadioButton->setText(yx ? "Y-Z data plot" : "Y-X data plot");
    g->X_ZRadioButton->setText(yx ? "X-Z data plot" : "Z-X data plot");
    g->ChoicesPanel->show();
    g->ChoicesPanel->raise();
}

// The toggles that fit the graph on show: the block for types 2 to 4, the
// calculated-observed graph for a function with breakpoint.
void TBrekkaForm::ShowTogglesByType(bool oneVariable) {
    GraphicsTab* g = GraphicsTabSheet;
    const bool block = shownType_ >= 2 && shownType_ <= 4;
    g->BlockButton->setVisible(block);
    g->CalcObs_Button->setVisible(shownType_ >= 2);
    if (oneVariable) {
        // Every graph of one variable has its belt.
        g->ConfButton->show();
    }
}

void TBrekkaForm::GraphicsButtonClick() {
    if (!ReadGraphReport()) {
        return;
    }
    GraphicsTab* g = GraphicsTabSheet;
    g->PictureImage->hide();
    if (graphData_.IsTwoVariable()) {
        ShowChoices();
    } else {
        GraphKind = 0;
        const std::optional<QImage> picture = PlanAndDraw();
        if (!picture) {
            return;
        }
        g->SaveGraphButton->show();
        g->SaveBlWhButton->show();
        GraphSaveAction->setEnabled(true);
        g->SelectButton->hide();
        g->ChoicesPanel->hide();
        g->CalcObs_Button->setText("See calc-obs graph");
        ShowTogglesByType(true);
        ShowGraph(*picture);
    }
    GraphShown = true;
    PageControl1->setCurrentWidget(GraphicsTabSheet);
}

void TBrekkaForm::GoButtonClick() {
    GraphicsTab* g = GraphicsTabSheet;
    if (!ReadGraphReport()) {
        return;
    }
    if (g->ConfButton->text() == "Restore conf. belt") {
        g->ConfButton->setText("Remove conf. belt");
        BeltOn = true;
    }
    if (g->BlockButton->text() == "Restore conf. block") {
        g->BlockButton->setText("Remove conf. block");
        BlockOn = true;
    }
    if (!graphData_.IsTwoVariable()) {
        GraphKind = 0;
    } else if (g->Y_XRadioButton->isChecked()) {
        GraphKind = 1;
    } else if (g->YXr_ZRadioButton->isChecked()) {
        GraphKind = 2;
    } else if (g->Calc_ObsRadioButton->isChecked()) {
        GraphKind = 3;
    } else if (g->Y_ZRadioButton->isChecked()) {
        GraphKind = 4;
    } else if (g->X_ZRadioButton->isChecked()) {
        GraphKind = 5;
    } else {
        Message(" The desired type of graph could not be assessed");
        return;
    }
    const std::optional<QImage> picture = PlanAndDraw();
    if (!picture) {
        return;
    }
    // Only the graphs of a function have a belt.
    g->ConfButton->setVisible(GraphKind <= 2);
    GraphShown = true;
    g->SelectButton->setVisible(GraphKind != 0);
    HelpForm->hide();
    g->ChoicesPanel->hide();
    g->SaveGraphButton->show();
    g->SaveBlWhButton->show();
    GraphSaveAction->setEnabled(true);
    g->CalcObs_Button->setText("See calc-obs graph");
    ShowTogglesByType(GraphKind == 0);
    ShowGraph(*picture);
}

void TBrekkaForm::SelectButtonClick() {
    GraphicsTab* g = GraphicsTabSheet;
    g->PictureImage->hide();
    if (ReadGraphReport()) {
        ShowChoices();
    }
}

void TBrekkaForm::ConfButtonClick() {
    GraphicsTab* g = GraphicsTabSheet;
    const bool remove = g->ConfButton->text() == "Remove conf. belt";
    BeltOn = !remove;
    if (!ReadGraphReport()) {
        BeltOn = remove;
        return;
    }
    const std::optional<QImage> picture = PlanAndDraw();
    if (!picture) {
        BeltOn = remove;
        return;
    }
    g->ConfButton->setText(remove ? "Restore conf. belt" : "Remove conf. belt");
    ShowGraph(*picture);
}

void TBrekkaForm::BlockButtonClick() {
    GraphicsTab* g = GraphicsTabSheet;
    const bool remove = g->BlockButton->text() == "Remove conf. block";
    BlockOn = !remove;
    if (!ReadGraphReport()) {
        BlockOn = remove;
        return;
    }
    const std::optional<QImage> picture = PlanAndDraw();
    if (!picture) {
        BlockOn = remove;
        return;
    }
    g->BlockButton->setText(remove ? "Restore conf. block" : "Remove conf. block");
    ShowGraph(*picture);
}

void TBrekkaForm::CalcObs_ButtonClick() {
    GraphicsTab* g = GraphicsTabSheet;
    if (!ReadGraphReport()) {
        return;
    }
    if (g->CalcObs_Button->text() == "See calc-obs graph") {
        const int previousType = shownType_;
        const int previousKind = GraphKind;
        GraphKind = 3;
        const std::optional<QImage> picture = PlanAndDraw();
        if (!picture) {
            GraphKind = previousKind;
            return;
        }
        savedType_ = previousType;
        savedKind_ = previousKind;
        g->ConfButton->hide();
        g->BlockButton->hide();
        g->CalcObs_Button->setText("See regres. graph");
        ShowGraph(*picture);
        return;
    }
    // Back to the very graph shown before, with its own arrays and relation.
    GraphKind = savedKind_;
    const std::optional<QImage> picture = PlanAndDraw();
    if (!picture) {
        GraphKind = 3;
        return;
    }
    g->ConfButton->show();
    g->BlockButton->setVisible(savedType_ >= 2 && savedType_ <= 4);
    g->CalcObs_Button->setVisible(savedType_ >= 2);
    g->CalcObs_Button->setText("See calc-obs graph");
    ShowGraph(*picture);
}

void TBrekkaForm::BPbuttonClick() {
    HelpForm->show();
    HelpForm->raise();
}

void TBrekkaForm::MakeGraphButtonClick() {
    Message("Determine folder and file name for graph creation");
    OutputReadActionExecute();
}

void TBrekkaForm::OutputReadActionExecute() {
    GraphicsTab* g = GraphicsTabSheet;
    OutputTab* output = OutputTabSheet;
    for (QWidget* each :
         {static_cast<QWidget*>(g->GraphImage), static_cast<QWidget*>(g->PictureImage),
          static_cast<QWidget*>(g->SaveGraphButton), static_cast<QWidget*>(g->SaveBlWhButton),
          static_cast<QWidget*>(g->SelectButton), g->ChoicesPanel,
          static_cast<QWidget*>(output->OutputMemo), static_cast<QWidget*>(g->BPButton),
          static_cast<QWidget*>(output->GraphicsButton),
          static_cast<QWidget*>(output->SymbolsButton),
          static_cast<QWidget*>(output->AnovaButton)}) {
        each->hide();
    }
    HelpForm->hide();
    SymbolsForm->hide();
    GraphSaveAction->setEnabled(false);

    const std::optional<std::string> name = dialogs_.OpenFile(OutputReadDialog);
    if (!name) {
        Message("No output file selected");
        g->CalcObs_Button->hide();
        return;
    }
    if (!IsRegularFile(*name)) {
        Message("File does not exist, please select another one,");
    } else {
        // A report that cannot be read does not become the current one.
        const std::string previousName = data_.FileName;
        data_.FileName = *name;
        if (!ReadGraphReport()) {
            data_.FileName = previousName;
        } else if (graphData_.IsTwoVariable()) {
            ShowChoices();
        } else {
            GraphKind = 0;
            if (const std::optional<QImage> picture = PlanAndDraw()) {
                g->SaveGraphButton->show();
                g->SaveBlWhButton->show();
                GraphSaveAction->setEnabled(true);
                g->SelectButton->hide();
                HelpForm->hide();
                ShowTogglesByType(true);
                ShowGraph(*picture);
            } else {
                g->CalcObs_Button->hide();
            }
        }
    }
    SetDialogFolder(Folder(*name));
    g->CalcObs_Button->setText("See calc-obs graph");
    GraphShown = true;
}

void TBrekkaForm::GraphOpenActionExecute() {
    GraphicsTab* g = GraphicsTabSheet;
    g->CalcObs_Button->hide();
    g->CalcObs_Button->setText("See calc-obs graph");
    const std::optional<std::string> name = dialogs_.OpenFile(GraphOpenDialog);
    if (!name) {
        Message("No graphics file selected");
        return;
    }
    if (!IsRegularFile(*name)) {
        Message("File does not exist, please select another one");
        return;
    }
    QString error;
    const QImage picture = LoadGraphPicture(QString::fromStdString(*name), &error);
    if (picture.isNull()) {
        Message(error.toStdString());
        return;
    }
    g->PictureImage->setPixmap(QPixmap::fromImage(picture));
    SetDialogFolder(Folder(*name));
    GraphShown = true;
    g->PictureImage->show();
    g->PictureImage->raise();
    g->GraphImage->hide();
    GraphSaveAction->setEnabled(true);
    g->SaveGraphButton->show();
    g->SaveBlWhButton->show();
    OutputTab* output = OutputTabSheet;
    // The toggles would redraw a graph that is not on show.
    for (QWidget* each :
         {g->ChoicesPanel, static_cast<QWidget*>(output->OutputMemo),
          static_cast<QWidget*>(output->GraphicsButton),
          static_cast<QWidget*>(output->SymbolsButton), static_cast<QWidget*>(output->AnovaButton),
          static_cast<QWidget*>(g->BPButton), static_cast<QWidget*>(g->ConfButton),
          static_cast<QWidget*>(g->BlockButton)}) {
        each->hide();
    }
    HelpForm->hide();
    PageControl1->setCurrentWidget(GraphicsTabSheet);
}

void TBrekkaForm::GraphSaveActionExecute() {
    SaveGraph(true);
}

void TBrekkaForm::SaveBlWhButtonClick() {
    SaveGraph(false);
}

void TBrekkaForm::SaveGraph(bool colour) {
    ColourMode = colour;
    std::optional<QImage> picture;
    if (ReadGraphReport()) {
        picture = PlanAndDraw();
    }
    // Only the one drawing is in black and white; it stays on the screen.
    ColourMode = true;
    if (!picture) {
        return;
    }
    ShowGraph(*picture);
    const std::optional<std::string> name = dialogs_.SaveFile(GraphSaveDialog);
    if (!name) {
        Message("The graph was not saved");
        return;
    }
    std::error_code error;
    if (std::filesystem::exists(*name, error) &&
        !data_.AskYesNo("The file already exists, overwrite?")) {
        return;
    }
    QString failure;
    const QString file = QString::fromStdString(*name);
    const bool saved = HasExtension(*name, ".png") ? SaveGraphPng(*picture, file, &failure)
                                                   : SaveGraphBitmap(*picture, file, &failure);
    if (!saved) {
        Message(failure.toStdString());
        return;
    }
    Message("The graph was saved in  " + *name);
    SetDialogFolder(Folder(*name));
}

} // namespace brekka
