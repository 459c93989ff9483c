#include "ui/BrekkaForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <cctype>
#include <filesystem>

namespace brekka {

TBrekkaForm::TBrekkaForm(TDMBrekka& data, RunSettings& settings, Dialogs& dialogs)
    : data_(data), settings_(settings), dialogs_(dialogs), pause_(PauseWithRepaints),
      calculation_(std::make_unique<Calculation>(data, settings)) {
    setWindowTitle("Brekka segmented regression analysis");
    // The application creates these with the main window; none is shown yet.
    FinishForm = new TFinishForm(this);
    FinishForm->setWindowFlag(Qt::Window);
    SymbolsForm = new TSymbolsForm(this);
    HelpForm = new THelpForm(this);
    MoreInfoForm = new TMoreInfoForm(this);

    PageControl1 = new QTabWidget(this);
    IntroTabSheet = new IntroTab(PageControl1);
    Figures_TabSheet = new FiguresTab(PageControl1);
    InputTabSheet = new InputTab(PageControl1);
    OutputTabSheet = new OutputTab(PageControl1);
    GraphicsTabSheet = new GraphicsTab(PageControl1);
    PageControl1->addTab(IntroTabSheet, "  Intro  ");
    PageControl1->addTab(Figures_TabSheet, "Figures");
    PageControl1->addTab(InputTabSheet, "  Input  ");
    PageControl1->addTab(OutputTabSheet, "  Output  ");
    PageControl1->addTab(GraphicsTabSheet, " Graphics ");
    setCentralWidget(PageControl1);
    BuildMenu();
    ConnectHandlers();
    // An input file dropped anywhere on the window is opened. A drop goes to the
    // innermost widget that takes drops, such as a text field or a memo, which
    // would take the file's name as text or refuse it; the filter hands such a
    // file to the window first.
    setAcceptDrops(true);
    for (QWidget* each : findChildren<QWidget*>()) {
        each->installEventFilter(this);
    }

    // Client area of 873 x 567 below the menu.
    resize(873, 567 + MainMenu1->sizeHint().height());
    FormCreate();
}

TBrekkaForm::~TBrekkaForm() {
    qApp->removeEventFilter(this);
}

void TBrekkaForm::BuildMenu() {
    MainMenu1 = menuBar();
    QMenu* file = MainMenu1->addMenu("&File");
    auto add = [this](QMenu* menu, const QString& text, const QKeySequence& key) {
        QAction* action = menu->addAction(text);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        return action;
    };
    InputOpenAction = add(file, "Open input", QKeySequence("Ctrl+I"));
    OutputOpenAction = add(file, "Open output", QKeySequence("Ctrl+O"));
    GraphOpenAction = add(file, "OpenGraph", QKeySequence("Ctrl+G"));
    InputSaveAction = add(file, "Save input", QKeySequence("Ctrl+S"));
    GraphSaveAction = add(file, "s&Ave graph", QKeySequence("Ctrl+A"));
    FileExit1 = add(file, "program e&Xit", QKeySequence("Ctrl+X"));
    QMenu* edit = MainMenu1->addMenu("&Edit");
    EditCopy1 = add(edit, "&Copy", QKeySequence("Ctrl+C"));
    // Ctrl+X also ends the program: a focused text control takes the key for
    // cutting before the window sees it, so the menu only names the key here.
    EditCut1 = edit->addAction("Cu&t\tCtrl+X");
    EditPaste1 = add(edit, "&Paste", QKeySequence("Ctrl+V"));
    EditDelete1 = new QAction("Delete", this);
    EditDelete1->setShortcut(QKeySequence::Delete);
    addAction(EditDelete1);
    GraphSaveAction->setEnabled(false);
}

void TBrekkaForm::ConnectHandlers() {
    connect(PageControl1, &QTabWidget::currentChanged, this, &TBrekkaForm::PageChanged);
    IntroTab* intro = IntroTabSheet;
    connect(intro->TypesButton, &QPushButton::clicked, this, &TBrekkaForm::TypesButtonClick);
    connect(intro->TestsButton, &QPushButton::clicked, this, &TBrekkaForm::TestsButtonClick);
    connect(intro->SequenceButton, &QPushButton::clicked, this, &TBrekkaForm::SequenceButtonClick);
    connect(intro->MethodsButton, &QPushButton::clicked, this, &TBrekkaForm::MethodsButtonClick);
    connect(intro->BackButton, &QPushButton::clicked, this, &TBrekkaForm::BackButtonClick);
    connect(intro->MoreInfoButton, &QPushButton::clicked, this, &TBrekkaForm::MoreInfoButtonClick);

    InputTab* input = InputTabSheet;
    connect(input->StringGrid1, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        StringGrid1SetEditText(item->column(), item->row() + 1, item->text());
    });
    connect(input->StringGrid1, &DataGridWidget::MultiCellPaste, this,
            &TBrekkaForm::StringGrid1SetEditText);
    connect(input->NrOfDataEdit, &QLineEdit::editingFinished, this, &TBrekkaForm::NrOfDataEditExit);
    connect(input->NrOfVarComboBox, &QComboBox::activated, this,
            &TBrekkaForm::NrOfVarComboBoxChange);
    connect(input->ConfComboBox, &QComboBox::activated, this, &TBrekkaForm::ConfComboBoxChange);
    connect(input->PasteButton, &QPushButton::clicked, this, &TBrekkaForm::PasteButtonClick);
    connect(input->HelpOpenButton, &QPushButton::clicked, this, &TBrekkaForm::HelpOpenButtonClick);
    connect(input->ClearButton, &QPushButton::clicked, this, &TBrekkaForm::ClearButtonClick);
    connect(input->SaveButton, &QPushButton::clicked, InputSaveAction, &QAction::trigger);
    connect(input->OpenButton, &QPushButton::clicked, InputOpenAction, &QAction::trigger);
    connect(InputOpenAction, &QAction::triggered, this, &TBrekkaForm::InputOpenActionExecute);
    connect(InputSaveAction, &QAction::triggered, this, &TBrekkaForm::InputSaveActionExecute);

    OutputTab* output = OutputTabSheet;
    connect(output->AnovaButton, &QPushButton::clicked, this, &TBrekkaForm::AnovaButtonClick);
    connect(output->SymbolsButton, &QPushButton::clicked, this, &TBrekkaForm::SymbolsButtonClick);
    connect(output->ResultButton, &QPushButton::clicked, OutputOpenAction, &QAction::trigger);
    connect(OutputOpenAction, &QAction::triggered, this, &TBrekkaForm::OutputOpenActionExecute);

    ConnectGraphicsHandlers();

    connect(FileExit1, &QAction::triggered, this, &QWidget::close);
    for (QAction* action : {EditCopy1, EditCut1, EditPaste1, EditDelete1}) {
        connect(action, &QAction::triggered, this, [this, action] { EditAction(action); });
    }
}

void TBrekkaForm::PlaceForScreen(int screenWidth, int screenHeight) {
    int left = 100;
    int width = this->width();
    if (screenWidth > 860) {
        width = 860;
    } else if (screenWidth < width) {
        left = 5;
        width = screenWidth - 5;
    }
    // On a low screen the window moves up, and shrinks if it must, so that the
    // status line and the buttons at the foot of the pages stay on the screen.
    int top = 40;
    int height = this->height();
    if (screenHeight > 0 && top + height > screenHeight) {
        height = std::min(height, screenHeight);
        top = std::max(0, screenHeight - height);
    }
    resize(width, height);
    move(left, top);
}

void TBrekkaForm::SetDialogFolder(const std::string& path) {
    for (FileDialogSpec* dialog : {&InputOpenDialog, &InputSaveDialog, &OutputOpenDialog,
                                   &OutputReadDialog, &GraphOpenDialog, &GraphSaveDialog}) {
        dialog->Folder = path;
    }
}

std::string TBrekkaForm::Folder(const std::string& fileName) const {
    std::error_code error;
    if (std::filesystem::is_directory(fileName, error)) {
        return fileName;
    }
    return std::filesystem::path(fileName).parent_path().string();
}

void TBrekkaForm::FormCreate() {
    if (PageControl1->currentIndex() != 0) {
        PageControl1->setCurrentIndex(0);
    } else {
        PageChanged(0);
    }
    SetDialogFolder(QDir::currentPath().toStdString());
    InputSaveDialog.FileName.clear();
    DataLoaded = false;
    ResultShown = false;
    GraphShown = false;
    BeltOn = true;
    BlockOn = true;
    ColourMode = true;
    InputTabSheet->FileNameLabel->hide();
    InputTabSheet->FileNameEdit->hide();
    XAxisPixels = 500;
    YAxisPixels = 320;
}

void TBrekkaForm::PageChanged(int index) {
    if (shownPage_ == 3 && index != 3) {
        OutputTabSheetExit();
    }
    shownPage_ = index;
    switch (index) {
    case 0:
        IntroTabSheetShow();
        break;
    case 1:
        ShowStatus("The figures show the function types, the confidence belt and the methods "
                   "of types 3 and 4.");
        break;
    case 2:
        InputTabSheetShow();
        break;
    case 3:
        OutputTabSheetShow();
        break;
    case 4:
        GraphicsTabSheetShow();
        break;
    default:
        break;
    }
}

void TBrekkaForm::IntroTabSheetShow() {
    IntroTabSheet->ShowOnly(IntroTabSheet->IntroMemo);
    IntroTabSheet->MoreInfoButton->hide();
    ShowStatus("Click on the Input tab to proceed.");
    InputSaveAction->setEnabled(false);
    GraphSaveAction->setEnabled(false);
}

void TBrekkaForm::TypesButtonClick() {
    IntroTabSheet->ShowOnly(IntroTabSheet->TypesMemo);
    IntroTabSheet->MoreInfoButton->hide();
    MoreInfoForm->hide();
}

void TBrekkaForm::TestsButtonClick() {
    IntroTabSheet->ShowOnly(IntroTabSheet->TestsMemo);
    IntroTabSheet->MoreInfoButton->show();
}

void TBrekkaForm::SequenceButtonClick() {
    IntroTabSheet->ShowOnly(IntroTabSheet->SequenceMemo);
    IntroTabSheet->MoreInfoButton->hide();
    MoreInfoForm->hide();
}

void TBrekkaForm::MethodsButtonClick() {
    IntroTabSheet->ShowOnly(IntroTabSheet->MethodsMemo);
    IntroTabSheet->MoreInfoButton->hide();
    MoreInfoForm->hide();
}

void TBrekkaForm::BackButtonClick() {
    IntroTabSheet->ShowOnly(IntroTabSheet->IntroMemo);
    IntroTabSheet->MoreInfoButton->hide();
    MoreInfoForm->hide();
}

void TBrekkaForm::MoreInfoButtonClick() {
    MoreInfoForm->show();
    MoreInfoForm->raise();
}

void TBrekkaForm::ResetGraphicsTab() {
    GraphicsTabSheet->Reset();
    HelpForm->hide();
    GraphSaveAction->setEnabled(false);
    BeltOn = true;
    BlockOn = true;
}

void TBrekkaForm::GraphicsTabSheetShow() {
    InputSaveAction->setEnabled(false);
    ShowStatus("Graphics presentations of output data can be seen and saved");
    if (GraphShown) {
        return;
    }
    GraphSaveAction->setEnabled(false);
    GraphicsTab* graphics = GraphicsTabSheet;
    for (QWidget* each : {graphics->SaveGraphButton, graphics->SaveBlWhButton,
                          graphics->SelectButton, graphics->BPButton}) {
        each->hide();
    }
    HelpForm->hide();
}

void TBrekkaForm::EditAction(QAction* which) {
    QWidget* focused = QApplication::focusWidget();
    DataGridWidget* grid = InputTabSheet->StringGrid1;
    if (focused == grid) {
        if (which == EditPaste1) {
            grid->PasteClipboard();
        } else if (which == EditCopy1) {
            grid->CopySelection();
        } else if (which == EditDelete1 || which == EditCut1) {
            if (which == EditCut1) {
                grid->CopySelection();
            }
            for (QTableWidgetItem* item : grid->selectedItems()) {
                if (item->column() > 0) {
                    item->setText(QString());
                }
            }
        }
        return;
    }
    if (auto* cell = qobject_cast<CellEditor*>(focused)) {
        if (which == EditPaste1) {
            cell->PasteClipboard();
            return;
        }
        if (which == EditCopy1) {
            cell->CopyClipboard();
            return;
        }
    }
    if (auto* line = qobject_cast<QLineEdit*>(focused)) {
        if (which == EditCopy1) {
            line->copy();
        } else if (which == EditCut1) {
            line->cut();
        } else if (which == EditPaste1) {
            line->paste();
        } else if (line->hasSelectedText()) {
            line->del();
        }
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(focused)) {
        if (which == EditCopy1) {
            memo->copy();
        } else if (!memo->isReadOnly()) {
            which == EditCut1 ? memo->cut() : which == EditPaste1 ? memo->paste() : void();
        }
    }
}

void TBrekkaForm::FormClose() {
    FinishForm->show();
    FinishForm->raise();
}

void TBrekkaForm::closeEvent(QCloseEvent* event) {
    // Only the finish window ends the program.
    event->ignore();
    if (!Running) {
        FormClose();
    }
}

bool TBrekkaForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) {
        // While a calculation runs, nothing dropped is taken, by the window or by
        // any of its fields.
        if (Running) {
            event->ignore();
            return true;
        }
        return watched != this && TakeInputFileDrag(event);
    }
    if (!Running) {
        return false;
    }
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TabletPress: {
        // A message box of the run must still be answerable.
        // The toolkit hands the input to the box's own window first, then to
        // the box's widgets.
        QWidget* modal = QApplication::activeModalWidget();
        auto* widget = qobject_cast<QWidget*>(watched);
        if (modal && widget && (widget == modal || modal->isAncestorOf(widget))) {
            return false;
        }
        auto* window = qobject_cast<QWindow*>(watched);
        if (modal && window && window == modal->windowHandle()) {
            return false;
        }
        return true;
    }
    default:
        return false;
    }
}

void TBrekkaForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!TakeInputFileDrag(event)) {
        event->ignore();
    }
}

void TBrekkaForm::dragMoveEvent(QDragMoveEvent* event) {
    if (!TakeInputFileDrag(event)) {
        event->ignore();
    }
}

void TBrekkaForm::dropEvent(QDropEvent* event) {
    if (!TakeInputFileDrag(event)) {
        event->ignore();
    }
}

bool TBrekkaForm::TakeInputFileDrag(QEvent* event) {
    auto* drag = dynamic_cast<QDropEvent*>(event); // enter and move events are drop events
    if (!drag || Running) {
        return false;
    }
    const std::string file = DraggedInputFile(drag->mimeData());
    if (file.empty()) {
        return false;
    }
    // A move would let the source remove the file once it is dropped.
    const Qt::DropActions possible = drag->possibleActions();
    if (possible & Qt::CopyAction) {
        drag->setDropAction(Qt::CopyAction);
    } else if (possible & Qt::LinkAction) {
        drag->setDropAction(Qt::LinkAction);
    } else {
        return false;
    }
    drag->accept();
    if (event->type() == QEvent::Drop) {
        // Opened once the drop is over: the source waits for its end, and opening
        // may show a message box.
        QTimer::singleShot(0, this, [this, file] {
            if (!Running) {
                OpenInputFile(file);
            }
        });
    }
    return true;
}

std::string DraggedInputFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) {
        return {};
    }
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) {
        return {};
    }
    const std::string path = QFile::encodeName(urls.front().toLocalFile()).toStdString();
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension != ".inp" && !IsColumnFileName(path)) {
        return {};
    }
    return path;
}

void PauseWithRepaints(int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

} // namespace brekka
