// The window as a user works it: moving through the grid with the keyboard,
// copying cells out, the status line under the menus, opening an input file
// from another page, a low screen, and ending the program.
#include <QEventLoop>
#include <QMenu>
#include <QScrollBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "ui/WindowFixture.h"

using brekka::testing::ExamplePath;
using brekka::testing::Window;

namespace {

QPoint Current(Window& w) {
    const QModelIndex index = w.Grid()->currentIndex();
    return {index.column(), index.row() + 1};
}

} // namespace

class WindowUseTest : public QObject {
    Q_OBJECT
private slots:
    void keyboardMovesFromValueCellToValueCell() {
        Window w;
        auto* grid = w.Grid();
        grid->setFocus();
        // Tab after X of row 1 goes to Y of row 2, not to the serial number.
        grid->setCurrentCell(0, 2);
        QTest::keyClick(grid, Qt::Key_Tab);
        QCOMPARE(Current(w), QPoint(1, 2));
        // Shift+Tab back from Y of row 2 gives X of row 1.
        QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(Current(w), QPoint(2, 1));
        // Left from a Y cell stays on it; Home and Ctrl+Home land on a Y cell.
        grid->setCurrentCell(4, 1);
        QTest::keyClick(grid, Qt::Key_Left);
        QCOMPARE(Current(w), QPoint(1, 5));
        grid->setCurrentCell(4, 2);
        QTest::keyClick(grid, Qt::Key_Home);
        QCOMPARE(Current(w), QPoint(1, 5));
        QTest::keyClick(grid, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(Current(w), QPoint(1, 1));
        // A pasted column then goes where the cursor is, not into the serials.
        w.dialogs.answers.push_back(false);
        QTest::keyClick(grid, Qt::Key_Tab);
        QTest::keyClick(grid, Qt::Key_Home);
        w.Paste(Current(w).y(), Current(w).x(), "1\t2\n3\t4\n");
        QCOMPARE(w.Cell(1, 1), QString("1"));
        QCOMPARE(w.Cell(2, 2), QString("4"));
    }

    void typedDigitsNeverMoveTheCursorToAnotherRow() {
        Window w;
        w.Type(8, 1, "4.44");
        w.Grid()->setCurrentCell(4, 1);
        w.Grid()->keyboardSearch("4");
        QCOMPARE(Current(w), QPoint(1, 5));
    }

    void copiedCellsPasteBackAsTheyWere() {
        Window w;
        w.Type(1, 1, "2.5");
        w.Type(1, 2, "30");
        w.Type(2, 1, "-1");
        w.Type(2, 2, "1e3");
        auto* grid = w.Grid();
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        grid->setFocus();
        grid->setCurrentCell(0, 1);
        grid->clearSelection();
        grid->setRangeSelected(QTableWidgetSelectionRange(0, 0, 1, 2), true);
        // The serial column is not part of the copied text.
        QCOMPARE(grid->SelectionText(), QString("2.5\t30\n-1\t1e3\n"));
        // The current cell's editor is open, as after a click: the selection is copied.
        QVERIFY(qobject_cast<brekka::CellEditor*>(QApplication::focusWidget()));
        QApplication::clipboard()->clear();
        w.form->EditCopy1->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("2.5\t30\n-1\t1e3\n"));
        QApplication::clipboard()->clear();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QString("2.5\t30\n-1\t1e3\n"));
        grid->setFocus();
        // Cut copies too before it empties the cells.
        QApplication::clipboard()->clear();
        w.form->EditCut1->trigger();
        QCOMPARE(QApplication::clipboard()->text(), QString("2.5\t30\n-1\t1e3\n"));
        QCOMPARE(w.Cell(2, 2), QString());
        w.dialogs.answers.push_back(true); // keep 15 rows
        w.Paste(1, 1, QApplication::clipboard()->text());
        QCOMPARE(w.Cell(1, 1), QString("2.5"));
        QCOMPARE(w.data.XData[1], 1000.0);
    }

    void cellEditorMenuPastesSeveralCells() {
        Window w;
        w.dialogs.answers.push_back(false);
        QApplication::clipboard()->setText("7\t70\n8\t80\n9\t90\n");
        // Active, the window's own Ctrl+V drops the key from the menu's caption.
        w.form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        w.Grid()->editItem(w.Grid()->item(1, 1));
        auto* editor = w.Grid()->findChild<brekka::CellEditor*>();
        QVERIFY(editor);
        std::unique_ptr<QMenu> menu(editor->CreateContextMenu());
        QAction* paste = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith("&Paste")) {
                paste = action;
            }
        }
        QVERIFY(paste);
        paste->trigger();
        // The three rows land in the grid at once, from row 2 on; the editor
        // does not keep them as one line of text.
        QCOMPARE(w.Cell(2, 1), QString("7"));
        QCOMPARE(w.Cell(4, 2), QString("90"));
        QCOMPARE(w.Rows(), 4);
        QCOMPARE(w.data.YData[3], 9.0);
    }

    void statusLineSurvivesTheMenus() {
        Window w;
        const QString inputLine =
            "Enter data or use \"Open\" to edit existing data. Then use \"Save-Calculate\".";
        QCOMPARE(w.form->ShownStatus(), inputLine);
        // Passing over a menu item sends its (empty) tip to the window.
        QStatusTipEvent tip{QString()};
        QApplication::sendEvent(w.form.get(), &tip);
        QCOMPARE(w.form->ShownStatus(), inputLine);
        w.form->ShowStatus("The output file can be inspected");
        QCOMPARE(w.form->ShownStatus(), QString("The output file can be inspected"));
    }

    void openInputFromAnotherPageShowsTheData() {
        Window w;
        w.form->PageControl1->setCurrentWidget(w.form->OutputTabSheet);
        w.form->OpenInputFile(ExamplePath("yield-watertable.inp"));
        QCOMPARE(w.form->PageControl1->currentWidget(),
                 static_cast<QWidget*>(w.form->InputTabSheet));
        QCOMPARE(w.Rows(), 40);
        QVERIFY(w.Grid()->isVisible());
        QCOMPARE(w.form->ShownStatus(),
                 QString("Enter data or use \"Open\" to edit existing data. Then use "
                         "\"Save-Calculate\"."));
    }

    void clearDataShowsTheIntroPageWithItsOwnStatus() {
        Window w;
        w.form->OpenInputFile(ExamplePath("yield-watertable.inp"));
        w.dialogs.answers.push_back(true);
        w.form->ClearButtonClick();
        QCOMPARE(w.form->PageControl1->currentIndex(), 0);
        QCOMPARE(w.form->ShownStatus(), QString("Click on the Input tab to proceed."));
        QVERIFY(!w.form->InputSaveAction->isEnabled());
        QCOMPARE(w.Rows(), 15);
        QCOMPARE(w.Cell(15, 1), QString("0"));
    }

    void lowScreenKeepsTheStatusLineOnIt() {
        Window w;
        const int height = w.form->height();
        w.form->PlaceForScreen(1024, 768);
        QCOMPARE(w.form->pos(), QPoint(100, 40));
        QCOMPARE(w.form->height(), height);
        w.form->PlaceForScreen(800, 600);
        QCOMPARE(w.form->x(), 5);
        QCOMPARE(w.form->width(), 795);
        QVERIFY(w.form->y() >= 0);
        QVERIFY(w.form->y() + w.form->height() <= 600);
    }

    void finishEndsTheProgram() {
        Window w;
        w.form->close();
        QVERIFY(w.form->FinishForm->isVisible());
        QEventLoop loop;
        QTimer::singleShot(0, w.form->FinishForm->FinishButton, &QPushButton::click);
        // Were the program not to end, this guard would end the wait instead.
        QTimer::singleShot(3000, &loop, [&loop] { loop.exit(7); });
        QCOMPARE(loop.exec(), 0);
        // The thanks fit their window.
        auto* memo = w.form->FinishForm->FinishMemo;
        QCOMPARE(memo->horizontalScrollBar()->maximum(), 0);
    }
};

QTEST_MAIN(WindowUseTest)
#include "WindowUseTest.moc"
