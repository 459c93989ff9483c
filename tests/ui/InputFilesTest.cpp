// Spreadsheet columns in the window: "Open input" offers them, the grid and titles
// they give, the input file "Save-Calculate" proposes for them, files dropped on
// the window, and the dialogs' file types as the toolkit gets them.
#include <QLineEdit>
#include <QMimeData>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "ui/QtDialogs.h"
#include "ui/WindowFixture.h"

using brekka::testing::ExamplePath;
using brekka::testing::TempDir;
using brekka::testing::Window;
namespace fs = std::filesystem;

namespace {

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The example's rows as a semicolon file with decimal commas and a header.
std::string ExampleAsColumns() {
    std::istringstream in(Contents(ExamplePath("yield-watertable.inp")));
    std::string csv = "\"grain yield (t/ha)\";\"water table (cm)\"\r\n";
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::istringstream fields(line);
        std::string serial, y, x;
        if (number > 11 && (fields >> serial >> y >> x)) {
            std::replace(y.begin(), y.end(), '.', ',');
            std::replace(x.begin(), x.end(), '.', ',');
            csv += y + ";" + x + "\r\n";
        }
    }
    return csv;
}

std::unique_ptr<QMimeData> Urls(const QStringList& paths) {
    auto mime = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls << (path.contains("://") ? QUrl(path) : QUrl::fromLocalFile(path));
    }
    mime->setUrls(urls);
    return mime;
}

// Drags the files over `target` and, when it takes them, drops them there, as
// the toolkit delivers a drag from a file manager; true when the drag was taken.
bool DragAndDrop(QWidget* target, const QStringList& paths,
                 Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
    const std::unique_ptr<QMimeData> mime = Urls(paths);
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, actions, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    if (enter.dropAction() != Qt::CopyAction) {
        return false; // a moved file would be removed by its source
    }
    QDragMoveEvent move(at, actions, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(QPointF(at), actions, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents(); // the file opens once the drop is over
    return move.isAccepted() && drop.isAccepted();
}

} // namespace

class InputFilesTest : public QObject {
    Q_OBJECT
private slots:
    void openInputOffersSpreadsheetColumns() {
        Window w;
        const brekka::FileDialogSpec& open = w.form->InputOpenDialog;
        QCOMPARE(brekka::ToolkitFilter(open.Filter),
                 QString("Input files (*.inp *.csv *.txt);;Brekka input files (*.inp);;"
                         "Spreadsheet columns (*.csv);;Text columns (*.txt);;All files (*)"));
        QCOMPARE(w.form->InputSaveDialog.Filter, std::string("Input files (*.inp)|*.inp"));
        QCOMPARE(brekka::ToolkitFilter("Output files (*.out)|*.out"),
                 QString("Output files (*.out)"));
        QCOMPARE(brekka::SuffixForFilter("PNG picture (*.png)", "bmp"), QString("png"));
        QCOMPARE(brekka::SuffixForFilter("Input files (*.inp *.csv *.txt)", "x"), QString("inp"));
        QCOMPARE(brekka::SuffixForFilter("All files (*)", "bmp"), QString("bmp"));
    }

    void openedColumnsFillTheGridAndSaveAsAnInputFile() {
        Window w;
        TempDir dir;
        const fs::path csv = dir.File("plots.csv");
        const std::string columns = ExampleAsColumns();
        Write(csv, columns);
        w.dialogs.files = {csv.string()};
        w.form->InputOpenActionExecute();
        QCOMPARE(w.dialogs.messages, std::vector<std::string>{});
        QCOMPARE(w.Rows(), 40);
        QCOMPARE(w.Grid()->columnCount(), 3);
        QCOMPARE(w.Cell(1, 1), QString("4.36"));
        QCOMPARE(w.Cell(2, 2), QString("115"));
        QCOMPARE(w.NrOfDataText(), QString("40"));
        brekka::InputTab* input = w.form->InputTabSheet;
        QCOMPARE(input->Title1Edit->text(), QString("plots.csv"));
        QCOMPARE(input->Title2Edit->text(), QString("Y: grain yield (t/ha); X: water table (cm)"));
        QCOMPARE(input->FileNameEdit->text(), QString::fromStdString(csv.string()));
        QCOMPARE(w.form->InputSaveDialog.Folder, dir.Path().string());
        QCOMPARE(w.form->InputSaveDialog.FileName, std::string("plots.inp"));
        // No report yet: the graph is not read from the columns.
        w.form->GraphicsButtonClick();
        QVERIFY(w.dialogs.messages.back().rfind("There is no report", 0) == 0);

        // The name the save dialog proposes; choosing the columns' own is refused.
        w.dialogs.Clear();
        w.dialogs.files = {csv.string(), dir.File("plots.inp").string()};
        w.form->InputSaveActionExecute();
        QCOMPARE(w.dialogs.messages.size(), size_t(1));
        QVERIFY(w.dialogs.messages[0].find("cannot be used to save the input") !=
                std::string::npos);
        QVERIFY(w.dialogs.questions.empty());
        QCOMPARE(Contents(csv), columns);
        w.form->InputSaveActionExecute();
        QCOMPARE(w.dialogs.shownDialogs.back().FileName, std::string("plots.inp"));
        QCOMPARE(w.dialogs.shownDialogs.back().Folder, dir.Path().string());
        QVERIFY(w.form->ResultShown);
        QCOMPARE(Contents(csv), columns);
        QVERIFY(fs::exists(dir.File("plots.out")) && fs::exists(dir.File("plots.var")));
        const std::string saved = Contents(dir.File("plots.inp"));
        QVERIFY(saved.rfind("plots.csv\r\nY: grain yield (t/ha); X: water table (cm)\r\n", 0) == 0);
        QCOMPARE(w.data.FileName, dir.File("plots.out").string());

        // An .inp opened is proposed under its own name; clearing proposes none.
        w.form->OpenInputFile(dir.File("plots.inp").string());
        QCOMPARE(w.form->InputSaveDialog.FileName, std::string("plots.inp"));
        w.form->ClearButtonClick();
        QVERIFY(w.form->InputSaveDialog.FileName.empty());
    }

    void refusedColumnsLeaveTheWindowAsItWas() {
        Window w;
        TempDir dir;
        w.form->OpenInputFile(ExamplePath("yield-watertable-salinity.inp"));
        const QString title = w.form->InputTabSheet->Title1Edit->text();
        const int rows = w.Rows();
        const fs::path ragged = dir.File("ragged.TXT");
        Write(ragged, "Y\tX\tZ\n1\t2\t3\n4\t5\n");
        w.dialogs.Clear();
        w.dialogs.files = {ragged.string()};
        w.form->InputOpenActionExecute();
        QCOMPARE(w.dialogs.messages,
                 std::vector<std::string>{"The file \"" + ragged.string() +
                                          "\" could not be read: line 3 has 2 columns, line 1 "
                                          "has 3."});
        QCOMPARE(w.Rows(), rows);
        QCOMPARE(w.Grid()->columnCount(), 4);
        QCOMPARE(w.form->InputTabSheet->Title1Edit->text(), title);
        QCOMPARE(w.data.FileName, ExamplePath("yield-watertable-salinity.inp"));
        QCOMPARE(w.form->InputSaveDialog.FileName, std::string("yield-watertable-salinity.inp"));
    }

    void droppedInputFilesOpenAsOpenInputWould() {
        Window w;
        TempDir dir;
        const fs::path csv = dir.File("Dropped.CSV");
        Write(csv, "1,2,3\n4,5,6\n7,8,9\n10,11,12\n");
        const fs::path report = dir.File("x.out");
        Write(report, "report\r\n");

        // What is not one input file is not taken.
        QVERIFY(!DragAndDrop(w.form.get(), {QString::fromStdString(report.string())}));
        QVERIFY(!DragAndDrop(w.form.get(), {QString::fromStdString(csv.string()),
                                            QString::fromStdString(csv.string())}));
        QVERIFY(!DragAndDrop(w.form.get(), {"https://example.invalid/a.csv"}));
        QVERIFY(!DragAndDrop(w.form.get(), {QString::fromStdString(csv.string())}, Qt::MoveAction));
        QCOMPARE(brekka::DraggedInputFile(nullptr), std::string());
        QCOMPARE(w.Rows(), 15);

        QVERIFY(DragAndDrop(w.form.get(), {QString::fromStdString(csv.string())}));
        QVERIFY(w.dialogs.messages.empty());
        QCOMPARE(w.Rows(), 4);
        QCOMPARE(w.Grid()->columnCount(), 4);
        QCOMPARE(w.Cell(4, 3), QString("12"));
        QCOMPARE(w.form->InputTabSheet->Title1Edit->text(), QString("Dropped.CSV"));
        QCOMPARE(w.form->PageControl1->currentWidget(), w.form->InputTabSheet);

        // Dropped on a text field from another page, the file opens rather than
        // landing in the field as text.
        w.form->PageControl1->setCurrentIndex(0);
        QLineEdit* title = w.form->InputTabSheet->Title2Edit;
        title->setText("typed");
        QVERIFY(DragAndDrop(title, {QString::fromStdString(ExamplePath("yield-watertable.inp"))}));
        QCOMPARE(w.Rows(), 40);
        QVERIFY(title->text().startsWith("Y: grain yield"));
        QCOMPARE(w.form->PageControl1->currentWidget(), w.form->InputTabSheet);
        // A memo that takes no text still hands the file on.
        QVERIFY(DragAndDrop(w.form->IntroTabSheet->IntroMemo->viewport(),
                            {QString::fromStdString(csv.string())}));
        QCOMPARE(w.Rows(), 4);

        // A file that went missing gets the message of "Open input".
        w.dialogs.Clear();
        QVERIFY(DragAndDrop(w.form.get(), {QString::fromStdString(dir.File("gone.inp").string())}));
        QCOMPARE(w.dialogs.messages,
                 std::vector<std::string>{"File does not exist, please select another one,"});
    }

    void dropsDuringACalculationAreIgnored() {
        Window w;
        TempDir dir;
        w.form->OpenInputFile(ExamplePath("yield-watertable.inp"));
        const QString other = QString::fromStdString(ExamplePath("yield-watertable-salinity.inp"));
        int tries = 0;
        bool taken = true;
        w.form->SetPause([&](int) {
            if (w.form->Running && tries++ == 0) {
                taken = DragAndDrop(w.form.get(), {other}) ||
                        DragAndDrop(w.form->InputTabSheet->Title1Edit, {other});
                QCoreApplication::processEvents();
            }
        });
        w.dialogs.files = {dir.File("run.inp").string()};
        w.form->InputSaveActionExecute();
        QCOMPARE(tries > 0, true);
        QVERIFY(!taken);
        QCOMPARE(w.data.NrOfVar, 1);
        QCOMPARE(w.Grid()->columnCount(), 3);
        QCOMPARE(w.Rows(), 40);
        QVERIFY(w.form->ResultShown);
        // After the run drops are taken again.
        QVERIFY(DragAndDrop(w.form.get(), {other}));
        QCOMPARE(w.Grid()->columnCount(), 4);
    }
};

QTEST_MAIN(InputFilesTest)
#include "InputFilesTest.moc"
