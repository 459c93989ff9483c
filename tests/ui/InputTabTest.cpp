// The input page driven through its widgets: typing, pasting, the number of data,
// the variable and confidence boxes, "Clear data" and "Open input".
#include <QtTest>
#include <fstream>

#include "ui/WindowFixture.h"

using brekka::testing::ExamplePath;
using brekka::testing::TempDir;
using brekka::testing::Window;

class InputTabTest : public QObject {
    Q_OBJECT
private slots:
    void startsWithFifteenRowsOfZeros() {
        Window w;
        QCOMPARE(w.Rows(), 15);
        QCOMPARE(w.Grid()->columnCount(), 3);
        QCOMPARE(w.Cell(15, 2), QString("0"));
        QCOMPARE(w.Cell(15, 0), QString("15"));
        QCOMPARE(w.Grid()->horizontalHeaderItem(1)->text(), QString("    Y"));
        QCOMPARE(w.form->StatusText(),
                 QString("Enter data or use \"Open\" to edit existing data. Then use "
                         "\"Save-Calculate\"."));
    }

    void typingSurvivesATabSwitchAndMoreRows() {
        Window w;
        w.Type(3, 1, "7.5");
        w.form->PageControl1->setCurrentIndex(0);
        w.form->PageControl1->setCurrentWidget(w.form->InputTabSheet);
        QCOMPARE(w.Cell(3, 1), QString("7.5"));
        w.Type(4, 2, "");
        w.form->InputTabSheet->NrOfDataEdit->setText("20");
        w.form->NrOfDataEditExit();
        QCOMPARE(w.dialogs.messages.back(),
                 std::string(" Add data in the last cells at the end of the column"));
        QCOMPARE(w.Rows(), 20);
        QCOMPARE(w.Cell(3, 1), QString("7.5"));
        QCOMPARE(w.Cell(4, 2), QString()); // an emptied cell stays empty
        QCOMPARE(w.Cell(20, 1), QString());
    }

    void numberOfDataRules() {
        Window w;
        auto exitWith = [&](const QString& text) {
            w.dialogs.Clear();
            w.form->InputTabSheet->NrOfDataEdit->setText(text);
            w.form->NrOfDataEditExit();
            return w.dialogs.messages.empty() ? std::string() : w.dialogs.messages.back();
        };
        QCOMPARE(exitWith("9"), std::string(" The minimum number of data is 10"));
        QCOMPARE(exitWith("abc"), std::string("The number of data is not a valid integer"));
        QCOMPARE(exitWith(""), std::string());
        QCOMPARE(exitWith("12"), std::string(" To remove data make the relevant data cells empty"));
        QCOMPARE(w.Rows(), 15);
        // A fresh grid shows zeros in every new row.
        exitWith("20");
        QCOMPARE(w.Cell(20, 1), QString("0"));
        // A cell that is not a number: a clear message and nothing changes.
        w.Type(2, 1, "x1");
        QCOMPARE(exitWith("25"), brekka::NotANumberMessage(2, 1));
        QCOMPARE(w.Rows(), 20);
        QCOMPARE(w.NrOfDataText(), QString("20"));
        QCOMPARE(w.Cell(2, 1), QString("x1"));
    }

    void pasteTwoLinesAskingToKeepTheNumber() {
        Window w;
        w.dialogs.answers = {false};
        w.Paste(1, 1, "1\t2\r\n3\t4\r\n");
        QCOMPARE(w.dialogs.questions.size(), size_t(1));
        QCOMPARE(w.data.NrOfData, 2);
        QCOMPARE(w.Rows(), 2);
        QCOMPARE(w.data.XData[1], 4.0);
        QCOMPARE(w.dialogs.messages.back(), std::string(" The minimum number of data is 10"));
        QVERIFY(w.form->DataLoaded);
        QVERIFY(!w.form->Pasting);
    }

    void pasteKeepsTheOriginalNumberOnYes() {
        Window w;
        w.Paste(1, 1, "1\t2\n3\t4"); // line feeds only, last line without one
        QCOMPARE(w.data.NrOfData, 15);
        QCOMPARE(w.Cell(2, 2), QString("4"));
        QCOMPARE(w.Cell(15, 1), QString("0"));
    }

    void pasteOfManyRowsAndNumbersAsSpreadsheetsWriteThem() {
        Window w;
        QString text;
        for (int i = 1; i <= 30; ++i) {
            text += QString("%1\t1,%2\n").arg(i).arg(100 + i);
        }
        text += "1e5\t2.5E-3\n";
        w.Paste(1, 1, text);
        QCOMPARE(w.data.NrOfData, 31);
        QCOMPARE(w.data.XData[0], 1101.0);
        QCOMPARE(w.data.YData[30], 100000.0);
        QCOMPARE(w.data.XData[30], 0.0025);
        QCOMPARE(w.NrOfDataText(), QString("31"));
    }

    void pasteRefusals() {
        Window w;
        w.Paste(1, 1, "1,5\t2\n3\t4\n");
        QCOMPARE(w.dialogs.messages.back(),
                 std::string("There are no data to be pasted or some of the data are invalid."));
        QCOMPARE(w.Cell(1, 1), QString("0"));
        QCOMPARE(w.data.NrOfData, 15);
        // Cells without a number are written, the data set stays as it was.
        w.Paste(1, 1, "a\tb\nc\td\n");
        QCOMPARE(w.dialogs.messages.size(), size_t(2));
        QCOMPARE(w.data.YData[0], 0.0);
    }

    void pasteOnACommaSystem() {
        Window w(',');
        w.Paste(1, 1, "1,5\t2\n1.5\t3\n");
        QCOMPARE(w.data.YData[0], 1.5);
        QCOMPARE(w.data.YData[1], 1.5); // the point switched the separator
        QCOMPARE(w.settings.DecimalSeparator, '.');
    }

    void pasteThroughTheCellEditorAndTheEditMenu() {
        Window w;
        QApplication::clipboard()->setText("5\t6\r\n7\t8\r\n");
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        w.Grid()->setCurrentCell(0, 1);
        w.Grid()->setFocus();
        w.form->EditPaste1->trigger();
        QCOMPARE(w.Cell(2, 2), QString("8"));
        w.Grid()->editItem(w.Grid()->item(2, 1));
        auto* editor = qobject_cast<brekka::CellEditor*>(QApplication::focusWidget());
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.Cell(3, 1), QString("5"));
        QCOMPARE(w.Cell(4, 2), QString("8"));
    }

    void variableAndConfidenceBoxes() {
        Window w;
        w.form->InputTabSheet->NrOfVarComboBox->setCurrentIndex(1);
        w.form->NrOfVarComboBoxChange();
        QCOMPARE(w.Grid()->columnCount(), 4);
        QCOMPARE(w.Grid()->horizontalHeaderItem(3)->text(), QString("    Z"));
        QCOMPARE(w.Cell(15, 3), QString("0"));
        QCOMPARE(w.Grid()->columnWidth(3), 75);
        QVERIFY(!w.form->InputTabSheet->InputImage->isVisible());
        w.Type(1, 1, "3.5"); // typed values survive a change of the number of variables
        w.form->InputTabSheet->NrOfVarComboBox->setCurrentIndex(0);
        w.form->NrOfVarComboBoxChange();
        QCOMPARE(w.Grid()->columnCount(), 3);
        QCOMPARE(w.Cell(1, 1), QString("3.5"));
        const double expected[] = {1.75, 2.1, 2.5};
        for (int i = 0; i < 3; ++i) {
            w.form->InputTabSheet->ConfComboBox->setCurrentIndex(i);
            w.form->ConfComboBoxChange();
            QCOMPARE(w.settings.CriticalValue, expected[i]);
        }
    }

    void helpToggles() {
        Window w;
        brekka::InputTab* input = w.form->InputTabSheet;
        w.form->PasteButtonClick();
        QCOMPARE(input->PasteButton->text(), QString("Close paste"));
        QVERIFY(!input->StringGrid1->isVisible() && !input->SaveButton->isEnabled());
        w.form->PasteButtonClick();
        QVERIFY(input->StringGrid1->isVisible() && input->SaveButton->isEnabled());
        w.form->HelpOpenButtonClick();
        QCOMPARE(input->HelpOpenButton->text(), QString("Close symbols"));
        QVERIFY(!input->PasteButton->isEnabled());
        w.form->HelpOpenButtonClick();
        QCOMPARE(input->HelpOpenButton->text(), QString("Symbols help "));
    }

    void clearData() {
        Window w;
        w.form->OpenInputFile(ExamplePath("yield-watertable-salinity.inp"));
        w.dialogs.answers = {false};
        w.form->ClearButtonClick();
        QCOMPARE(w.Grid()->columnCount(), 4);
        w.form->ClearButtonClick();
        QCOMPARE(w.dialogs.questions.back(),
                 std::string("The data will be cleared, are you sure?"));
        QCOMPARE(w.Rows(), 15);
        QCOMPARE(w.Grid()->columnCount(), 3);
        QCOMPARE(w.Cell(1, 1), QString("0"));
        QVERIFY(w.form->InputTabSheet->Title1Edit->text().isEmpty());
        QVERIFY(!w.form->DataLoaded);
    }

    void openInputGoodDamagedMissing() {
        Window w;
        w.dialogs.files = {ExamplePath("yield-watertable.inp")};
        w.form->InputOpenActionExecute();
        QCOMPARE(w.Rows(), 40);
        QCOMPARE(w.Cell(1, 1), QString("4.36"));
        QCOMPARE(w.Cell(2, 2), QString("115"));
        QVERIFY(w.form->InputTabSheet->FileNameEdit->isVisible());
        QCOMPARE(w.form->InputTabSheet->Title1Edit->text().left(11), QString("Wheat yield"));
        QCOMPARE(w.form->InputOpenDialog.Folder, std::string(BREKKA_EXAMPLES_DIR));

        TempDir dir;
        const std::string damaged = dir.File("damaged.inp").string();
        std::ofstream(damaged) << "t1\r\nt2\r\n File name:  x\r\n Number of independent "
                                  "variables:  1\r\n Number of data sets:  2\r\n\r\n\r\n\r\n\r\n"
                                  "\r\n\r\n    1   1.00   ab\r\n";
        w.dialogs.Clear();
        w.dialogs.files = {damaged};
        w.form->InputOpenActionExecute();
        QCOMPARE(w.dialogs.messages.size(), size_t(1));
        QVERIFY(w.dialogs.messages[0].find("are corrupt") != std::string::npos);
        QCOMPARE(w.Rows(), 40);
        QCOMPARE(w.data.NrOfData, 40);
        QCOMPARE(w.data.FileName, ExamplePath("yield-watertable.inp"));

        w.dialogs.files = {dir.File("none.inp").string(), std::nullopt};
        w.form->InputOpenActionExecute();
        QCOMPARE(w.dialogs.messages.back(),
                 std::string("File does not exist, please select another one,"));
        w.form->InputOpenActionExecute();
        QCOMPARE(w.dialogs.messages.back(), std::string("No input file was selected"));
        QCOMPARE(w.Rows(), 40);
    }

    void windowPlacementAndFinish() {
        Window w;
        w.form->PlaceForScreen(1024);
        QCOMPARE(w.form->x(), 100);
        QCOMPARE(w.form->width(), 860);
        Window narrow;
        narrow.form->PlaceForScreen(800);
        QCOMPARE(narrow.form->x(), 5);
        QCOMPARE(narrow.form->width(), 795);
        w.form->close();
        QVERIFY(w.form->isVisible());
        QVERIFY(w.form->FinishForm->isVisible());
        QCOMPARE(w.form->FinishForm->StatusText(), QString("  Click on Finish to end the program"));
        QCOMPARE(w.form->FinishForm->windowTitle(), QString("Brekka finish"));
    }
};

QTEST_MAIN(InputTabTest)
#include "InputTabTest.moc"
