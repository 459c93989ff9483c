// "Save-Calculate" from the grid to the files and the output page, compared with
// what brekka-calc writes for the same input file; the output page's own actions.
#include <QMessageBox>
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/InputFileName.h"
#include "text/TextFile.h"
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

std::vector<std::string> Lines(const fs::path& path) {
    return brekka::SplitLines(Contents(path));
}

// Runs brekka-calc on the input file, which rewrites its .out and .var.
void RunCommandLine(const fs::path& input) {
    const std::string command =
        std::string("\"") + BREKKA_CALC_PATH + "\" \"" + input.string() + "\" 2>/dev/null";
    QCOMPARE(std::system(command.c_str()), 0);
}

std::string MemoText(Window& w) {
    return w.form->OutputTabSheet->OutputMemo->toPlainText().toStdString();
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += (i ? "\n" : "") + lines[i];
    }
    return text;
}

// Writes an input file of n rows of one variable with a bend at X = 60.
void WriteRows(const fs::path& path, int n, bool varyX = true) {
    std::ofstream out(path, std::ios::binary);
    out << "t1\r\nt2\r\n File name:  x\r\n Number of independent variables:  1\r\n Number of "
           "data sets:  "
        << n << "\r\n\r\n\r\nh\r\nh\r\nh\r\n-\r\n";
    for (int i = 1; i <= n; ++i) {
        const double x = varyX ? (i * 37 % 100) : 5.0;
        const double y = 2 + 0.05 * (x < 60 ? x : 60) + (i % 7) * 0.01;
        out << i << " " << y << " " << x << "\r\n";
    }
}

} // namespace

class SaveCalculateTest : public QObject {
    Q_OBJECT

    // Opens the example, saves it under a new name in the folder and calculates;
    // then checks the files against the command line's.
    void CompareWithCommandLine(const std::string& example, size_t warnings) {
        Window w;
        TempDir dir;
        int pauses = 0;
        w.form->SetPause([&](int ms) { pauses += ms == 500 ? 1 : 100; });
        w.form->OpenInputFile(ExamplePath(example));
        const fs::path input = dir.File("run.inp");
        w.dialogs.files = {input.string()};
        w.form->InputSaveActionExecute();

        const fs::path out = dir.File("run.out");
        const fs::path var = dir.File("run.var");
        QCOMPARE(w.dialogs.messages.size(), warnings + 1);
        if (warnings > 0) {
            QVERIFY(w.dialogs.messages[0].find("Please check the Anova table") == 0);
        }
        QCOMPARE(w.dialogs.messages.back(), "The input is saved in " + input.string() +
                                                "   Calculations were done and the output is "
                                                "saved in  " +
                                                out.string());
        QCOMPARE(w.form->PageControl1->currentWidget(), w.form->OutputTabSheet);
        QVERIFY(w.form->ResultShown);
        QVERIFY(!w.form->InputTabSheet->WaitMemo->isVisible());
        QCOMPARE(w.form->InputTabSheet->WaitMemo->toPlainText(),
                 QString(" Saving data .....\n Progress 25% ....\n Calculating ....\n Anova "
                         "table ....\n Progress 75% ...\n Filing results .."));
        QCOMPARE(pauses, 5);
        QCOMPARE(MemoText(w), Joined(Lines(out)));
        QCOMPARE(w.form->OutputOpenDialog.Folder, dir.Path().string());
        // The file box names the input just written, not the one opened before.
        QCOMPARE(w.form->InputTabSheet->FileNameEdit->text().toStdString(), input.string());

        // The written input holds the example's data as the example file does.
        std::vector<std::string> written = Lines(input);
        std::vector<std::string> original = Lines(ExamplePath(example));
        QCOMPARE(written.size(), original.size());
        written[2] = original[2] = ""; // the file's own name
        QVERIFY(written == original);

        const std::string report = Contents(out);
        const std::string table = Contents(var);
        QVERIFY(report.size() > 1000 && table.size() > 100);
        RunCommandLine(input);
        QVERIFY(Contents(out) == report);
        QVERIFY(Contents(var) == table);
    }

private slots:
    void oneVariableRunMatchesCommandLine() { CompareWithCommandLine("yield-watertable.inp", 0); }
    void twoVariableRunMatchesCommandLine() {
        CompareWithCommandLine("yield-watertable-salinity.inp", 1);
    }

    void incompleteRowsAreLeftOutAndTitlesFilled() {
        Window w;
        TempDir dir;
        for (int r = 1; r <= 15; ++r) {
            w.Type(r, 1, QString::number(r % 4 + 1));
            w.Type(r, 2, QString::number(r * 3));
        }
        w.Type(4, 2, "");
        w.Type(9, 2, "");
        w.dialogs.files = {dir.File("gaps.inp").string()};
        w.form->InputSaveActionExecute();
        QCOMPARE(w.data.NrOfData, 13);
        QCOMPARE(w.Rows(), 13);
        QCOMPARE(w.NrOfDataText(), QString("13"));
        QCOMPARE(w.Cell(4, 2), QString("15")); // grid row 5 moved up
        QCOMPARE(w.Cell(13, 2), QString("45"));
        QCOMPARE(w.data.SerialNr.back(), 13);
        const std::vector<std::string> lines = Lines(dir.File("gaps.inp"));
        QCOMPARE(lines[0], std::string(" No first title given"));
        QCOMPARE(lines[1], std::string(" No second title given"));
        QCOMPARE(lines.size(), size_t(11 + 13));
        QVERIFY(w.form->InputTabSheet->Title1Edit->text().isEmpty());
    }

    void aCellThatIsNoNumberChangesNothing() {
        Window w;
        TempDir dir;
        w.form->OpenInputFile(ExamplePath("yield-watertable.inp"));
        w.Type(1, 1, "9");
        w.Type(2, 1, "1,5");
        w.dialogs.files = {dir.File("bad.inp").string()};
        w.form->InputSaveActionExecute();
        QCOMPARE(w.dialogs.messages.back(),
                 std::string("Not all data values in the inputfile are real, do not use "
                             "letters or blanks."));
        QCOMPARE(w.data.YData[0], 4.36);
        QCOMPARE(w.data.NrOfData, 40);
        QVERIFY(!fs::exists(dir.File("bad.inp")));
        QVERIFY(!fs::exists(dir.File("bad.out")));
    }

    void declinedAndRefusedNames() {
        Window w;
        TempDir dir;
        w.dialogs.files = {std::nullopt};
        w.form->InputSaveActionExecute();
        QCOMPARE(w.dialogs.messages.back(), std::string("The input data were not saved"));

        const fs::path existing = dir.File("old.inp");
        std::ofstream(existing) << "keep";
        w.dialogs.files = {existing.string()};
        w.dialogs.answers = {false};
        w.form->InputSaveActionExecute();
        QCOMPARE(w.dialogs.questions.back(), std::string("The file already exists, overwrite?"));
        QCOMPARE(w.dialogs.messages.back(), std::string("The input data were not saved"));
        QCOMPARE(Contents(existing), std::string("keep"));
        QCOMPARE(w.data.FileName, existing.string());

        for (const char* name : {"report.out", "table.VAR"}) {
            const fs::path result = dir.File(name);
            std::ofstream(result) << "precious";
            w.dialogs.Clear();
            w.dialogs.files = {result.string()};
            w.form->InputSaveActionExecute();
            QCOMPARE(w.dialogs.messages,
                     std::vector<std::string>{brekka::ResultFileAsInputMessage(result.string())});
            QVERIFY(w.dialogs.questions.empty());
            QCOMPARE(Contents(result), std::string("precious"));
            QCOMPARE(w.data.FileName, existing.string());
        }
    }

    void refusedDataKeepTheInputPage() {
        Window w;
        TempDir dir;
        WriteRows(dir.File("flat.inp"), 12, false);
        w.form->OpenInputFile(dir.File("flat.inp").string());
        w.dialogs.files = {dir.File("flat2.inp").string()};
        w.form->InputSaveActionExecute();
        QCOMPARE(w.dialogs.messages.size(), size_t(1));
        QVERIFY(w.dialogs.messages[0].find("no variation in X") != std::string::npos);
        QVERIFY(!w.settings.NoVariationFlag);
        QCOMPARE(w.form->PageControl1->currentWidget(), w.form->InputTabSheet);
        QVERIFY(!w.form->InputTabSheet->WaitMemo->isVisible());
        QVERIFY(!fs::exists(dir.File("flat2.out")));
    }

    void manyDataAbove2000() {
        for (int n : {2000, 2001}) {
            Window w;
            TempDir dir;
            WriteRows(dir.File("many.inp"), n);
            w.form->OpenInputFile(dir.File("many.inp").string());
            w.dialogs.files = {dir.File("many.inp").string()};
            w.form->InputSaveActionExecute();
            QCOMPARE(w.form->PageControl1->currentWidget(), w.form->OutputTabSheet);
            const QString lines = w.form->InputTabSheet->WaitMemo->toPlainText();
            QCOMPARE(lines.contains(" Many data ......\n This takes time ..."), n > 2000);
        }
    }

    // During a run only a message box of the run takes input, also where the
    // toolkit hands it to the box's window before its widgets.
    void duringARunOnlyItsMessageBoxTakesInput() {
        Window w;
        QMessageBox box(QMessageBox::Information, "t", "m", QMessageBox::Ok, w.form.get());
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        QCOMPARE(QApplication::activeModalWidget(), &box);
        QObject* filter = w.form.get();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        w.form->Running = true;
        QVERIFY(box.windowHandle() != nullptr);
        QVERIFY(!filter->eventFilter(box.windowHandle(), &press));
        QVERIFY(!filter->eventFilter(box.button(QMessageBox::Ok), &press));
        QVERIFY(filter->eventFilter(w.form->windowHandle(), &press));
        QVERIFY(filter->eventFilter(w.form->InputTabSheet->SaveButton, &press));
        w.form->Running = false;
        QVERIFY(!filter->eventFilter(w.form->windowHandle(), &press));
        box.hide();
    }

    void anovaToggle() {
        Window w;
        TempDir dir;
        w.form->OpenInputFile(ExamplePath("yield-watertable.inp"));
        w.dialogs.files = {dir.File("a.inp").string()};
        w.form->InputSaveActionExecute();
        brekka::OutputTab* output = w.form->OutputTabSheet;
        w.form->AnovaButtonClick();
        QCOMPARE(output->AnovaButton->text(), QString("Close Anova"));
        QCOMPARE(MemoText(w), Joined(Lines(dir.File("a.var"))));
        QVERIFY(!output->SymbolsButton->isVisible() && !output->GraphicsButton->isVisible());
        w.form->AnovaButtonClick();
        QCOMPARE(output->AnovaButton->text(), QString("Anova table"));
        QCOMPARE(MemoText(w), Joined(Lines(dir.File("a.out"))));
        QVERIFY(output->SymbolsButton->isVisible() && output->GraphicsButton->isVisible());
        w.form->SymbolsButtonClick();
        QVERIFY(w.form->SymbolsForm->isVisible());
        w.form->PageControl1->setCurrentWidget(w.form->InputTabSheet);
        QVERIFY(!w.form->SymbolsForm->isVisible());
    }

    void openOutputGoodMissingShort() {
        Window w;
        TempDir dir;
        fs::copy_file(ExamplePath("yield-watertable.inp"), dir.File("r.inp"));
        RunCommandLine(dir.File("r.inp"));
        fs::remove(dir.File("r.var"));
        w.form->PageControl1->setCurrentWidget(w.form->OutputTabSheet);
        w.dialogs.files = {dir.File("r.out").string()};
        w.form->OutputOpenActionExecute();
        QCOMPARE(MemoText(w), Joined(Lines(dir.File("r.out"))));
        QCOMPARE(w.form->StatusText(),
                 QString("The output file can be imported into spreadsheets"));
        QVERIFY(w.form->ResultShown);
        w.form->AnovaButtonClick(); // the table is missing
        QCOMPARE(w.dialogs.messages.back(), "The anova file \"" + dir.File("r.var").string() +
                                                "\"could not be found. Please go to the input "
                                                "tabsheet and run the program again to create "
                                                "it.");
        QCOMPARE(w.form->OutputTabSheet->AnovaButton->text(), QString("Close Anova"));
        QCOMPARE(MemoText(w), Joined(Lines(dir.File("r.out"))));

        w.dialogs.files = {dir.File("none.out").string(), std::nullopt};
        w.form->OutputOpenActionExecute();
        QCOMPARE(w.dialogs.messages.back(),
                 std::string("File does not exist, please select another one,"));
        w.form->OutputOpenActionExecute();
        QCOMPARE(w.dialogs.messages.back(), std::string("No output file selected"));

        const fs::path shortReport = dir.File("short.out");
        std::ofstream(shortReport) << "only line\r\n";
        std::ofstream(dir.File("short.var")) << "table\r\n";
        w.dialogs.files = {shortReport.string()};
        w.form->OutputOpenActionExecute();
        QCOMPARE(w.dialogs.messages.back(),
                 std::string(" The output file is invalid due to inadequate input data"));
        QVERIFY(fs::exists(shortReport) && fs::exists(dir.File("short.var")));
        QCOMPARE(MemoText(w), Joined(Lines(dir.File("r.out"))));
        QCOMPARE(w.form->OutputTabSheet->AnovaButton->text(), QString("Anova table"));
    }
};

QTEST_MAIN(SaveCalculateTest)
#include "SaveCalculateTest.moc"
