#pragma once
// One main window with its data module, run settings and fake dialogs, for a test.
#include <QClipboard>
#include <memory>

#include "data/DataModule.h"
#include "support/TempDir.h"
#include "ui/BrekkaForm.h"
#include "ui/FakeDialogs.h"

namespace brekka::testing {

struct Window {
    FakeDialogs dialogs;
    TDMBrekka data{dialogs};
    RunSettings settings;
    std::unique_ptr<TBrekkaForm> form;

    explicit Window(char separator = '.') {
        settings.DecimalSeparator = separator;
        form = std::make_unique<TBrekkaForm>(data, settings, dialogs);
        form->SetPause([](int) {});
        form->show();
        form->PageControl1->setCurrentWidget(form->InputTabSheet);
    }
    DataGridWidget* Grid() { return form->InputTabSheet->StringGrid1; }
    QString Cell(int row, int column) {
        QTableWidgetItem* item = Grid()->item(row - 1, column);
        return item ? item->text() : QString("<none>");
    }
    // What typing into a cell does: the grid's cell changes.
    void Type(int row, int column, const QString& text) {
        Grid()->item(row - 1, column)->setText(text);
    }
    void Paste(int row, int column, const QString& text) {
        Grid()->setCurrentCell(row - 1, column);
        Grid()->setFocus();
        Grid()->PasteText(text);
    }
    int Rows() { return Grid()->rowCount(); }
    QString NrOfDataText() { return form->InputTabSheet->NrOfDataEdit->text(); }
};

inline std::string ExamplePath(const std::string& name) {
    return std::string(BREKKA_EXAMPLES_DIR) + "/" + name;
}

} // namespace brekka::testing
