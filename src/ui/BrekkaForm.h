#pragma once
// The main window: menu, status line and the five pages, with the handlers of the
// intro, input and output pages and the Save-Calculate driver.
#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTabWidget>
#include <functional>
#include <memory>
#include <optional>

#include "data/DataModule.h"
#include "data/GraphState.h"
#include "data/GridText.h"
#include "data/RunSettings.h"
#include "engine/Calculation.h"
#include "ui/BaseForm.h"
#include "ui/Dialogs.h"
#include "ui/FiguresTab.h"
#include "ui/FinishForm.h"
#include "ui/GraphicsTab.h"
#include "ui/InputTab.h"
#include "ui/IntroTab.h"
#include "ui/OutputTab.h"
#include "ui/TextWindows.h"

namespace brekka {

class TBrekkaForm : public TBaseForm {
    Q_OBJECT
public:
    using PauseFn = std::function<void(int milliseconds)>;
    TBrekkaForm(TDMBrekka& data, RunSettings& settings, Dialogs& dialogs);
    ~TBrekkaForm() override;

    // The pause between progress lines; tests give one that does not wait.
    void SetPause(PauseFn pause) { pause_ = std::move(pause); }
    // The window's place and size for a screen of this size (height 0: not known).
    void PlaceForScreen(int screenWidth, int screenHeight = 0);

    // Windows the main window shows.
    TFinishForm* FinishForm;
    TSymbolsForm* SymbolsForm;
    THelpForm* HelpForm;
    TMoreInfoForm* MoreInfoForm;

    QTabWidget* PageControl1;
    IntroTab* IntroTabSheet;
    FiguresTab* Figures_TabSheet;
    InputTab* InputTabSheet;
    OutputTab* OutputTabSheet;
    GraphicsTab* GraphicsTabSheet;

    QMenuBar* MainMenu1;
    QAction* InputOpenAction;
    QAction* OutputOpenAction;
    QAction* GraphOpenAction;
    QAction* InputSaveAction;
    QAction* GraphSaveAction;
    QAction* FileExit1;
    QAction* EditCopy1;
    QAction* EditCut1;
    QAction* EditPaste1;
    QAction* EditDelete1;

    // Marks of the window.
    bool DataLoaded = false;
    bool Pasting = false;
    int RowsWithValues = 0;
    int PreviousNrOfData = 15;
    bool ResultShown = false;
    bool GraphShown = false;
    bool BeltOn = true;
    bool BlockOn = true;
    bool ColourMode = true;
    int GraphKind = 0;
    int XAxisPixels = 500;
    int YAxisPixels = 320;
    bool Running = false; // a calculation is under way

    // The six file dialogs; SetDialogFolder points them all to one folder.
    FileDialogSpec InputOpenDialog{"Open input",
                                   "Input files (*.inp *.csv *.txt)|*.inp;*.csv;*.txt|"
                                   "Brekka input files (*.inp)|*.inp|"
                                   "Spreadsheet columns (*.csv)|*.csv|"
                                   "Text columns (*.txt)|*.txt|All files (*)|*",
                                   "inp", "", ""};
    // Proposes the name of the file opened, with .inp for spreadsheet columns.
    FileDialogSpec InputSaveDialog{"Save input", "Input files (*.inp)|*.inp", "inp", "", ""};
    FileDialogSpec OutputOpenDialog{"Open output", "Output files (*.out)|*.out", ".out", "", ""};
    FileDialogSpec OutputReadDialog{"Open output for a graph", "Output files (*.out)|*.out", "out",
                                    "", ""};
    FileDialogSpec GraphOpenDialog{"Open graph",
                                   "Graph files (*.bmp *.png)|*.bmp;*.png|"
                                   "Image files (*.bmp)|*.bmp|PNG picture (*.png)|*.png",
                                   "bmp", "", ""};
    // A name ending in .png is saved as PNG, any other as bitmap.
    FileDialogSpec GraphSaveDialog{
        "Save graph", "Image files (*.bmp)|*.bmp|PNG picture (*.png)|*.png", "bmp", "", ""};
    void SetDialogFolder(const std::string& path);

    // Main window and intro page.
    void FormCreate();
    void IntroTabSheetShow();
    void TypesButtonClick();
    void TestsButtonClick();
    void SequenceButtonClick();
    void MethodsButtonClick();
    void BackButtonClick();
    void MoreInfoButtonClick();

    // Input page.
    void InputTabSheetShow();
    void FillGrid();
    void StringGrid1SetEditText(int column, int row, const QString& text);
    bool HandlePasteMultiCell(int column, int row, const QString& text);
    void NrOfDataEditExit();
    void NrOfVarComboBoxChange();
    void ConfComboBoxChange();
    void PasteButtonClick();
    void HelpOpenButtonClick();
    void ClearButtonClick();
    void InputOpenActionExecute();
    // Opens this input file as "Open input" does once a name is chosen; an input
    // file or spreadsheet columns dropped on the window are opened so too.
    void OpenInputFile(const std::string& fileName);

    // Save-Calculate.
    enum class Choice { Chosen, Declined, Refused };
    Choice ChooseInputFile();
    void InputSaveActionExecute();
    void RunCalculation();

    // Output page.
    void OutputTabSheetShow();
    void OutputTabSheetExit();
    void AnovaButtonClick();
    void SymbolsButtonClick();
    void OutputOpenActionExecute();

    // Graphics page: hides the graph and its buttons, toggles back on.
    void ResetGraphicsTab();
    void GraphicsTabSheetShow();
    void GraphicsButtonClick();
    void GoButtonClick();
    void SelectButtonClick();
    void ConfButtonClick();
    void BlockButtonClick();
    void CalcObs_ButtonClick();
    void BPbuttonClick();
    void MakeGraphButtonClick();
    void OutputReadActionExecute();
    void GraphOpenActionExecute();
    void GraphSaveActionExecute();
    void SaveBlWhButtonClick();

    // The grid's value cells as texts, and back.
    GridTexts GridToTexts() const;
    void TextsToGrid(const GridTexts& texts, int rows);

    void FormClose();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    TDMBrekka& data_;
    RunSettings& settings_;
    Dialogs& dialogs_;
    PauseFn pause_;
    std::unique_ptr<Calculation> calculation_;
    int shownPage_ = -1;
    bool runSucceeded_ = false;

    void BuildMenu();
    void ConnectHandlers();
    void PageChanged(int index);
    void SetGridShape();
    void AddProgress(const std::string& line);
    void Pause(int milliseconds);
    void EditAction(QAction* which);
    std::string Folder(const std::string& fileName) const;
    // Takes a drag or drop of one input file for the window, over any of its
    // widgets; false for anything else.
    bool TakeInputFileDrag(QEvent* event);

    // What the graphs are drawn from: the values read back from the current
    // report, the function type of the graph on show, and the graph the
    // calculated-observed graph was switched to from.
    GraphData graphData_;
    GraphState graphState_;
    int shownType_ = 0;
    int savedType_ = 0;
    int savedKind_ = 0;
    void ConnectGraphicsHandlers();
    std::string GraphReportName() const;
    bool ReadGraphReport();
    std::optional<QImage> PlanAndDraw();
    void ShowGraph(const QImage& picture);
    void ShowChoices();
    void ShowTogglesByType(bool oneVariable);
    void SaveGraph(bool colour);
    void Message(const std::string& text) { dialogs_.ShowMessage(text); }
};

// The one local file of a drag that "Open input" reads (.inp, .csv or .txt, in any
// case); empty for other files, several files or no file.
std::string DraggedInputFile(const QMimeData* mime);

// Waits while the window goes on repainting; user input is ignored meanwhile by
// the window's own filter.
void PauseWithRepaints(int milliseconds);

} // namespace brekka
