#pragma once
#include <string>
// The controls of the input page: titles, number of data, variables and
// confidence, the data grid, the help memos and the progress box.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "ui/DataGridWidget.h"

namespace brekka {

class InputTab : public QWidget {
    Q_OBJECT
public:
    explicit InputTab(QWidget* parent = nullptr);

    QLabel* FileNameLabel;
    QLineEdit* FileNameEdit;
    QLabel* Title1Label;
    QLineEdit* Title1Edit;
    QLabel* Title2Label;
    QLineEdit* Title2Edit;
    QLabel* NrOfDataLabel;
    QLineEdit* NrOfDataEdit;
    QLabel* NrOfVariablesLabel;
    QComboBox* NrOfVarComboBox;
    QLabel* ConfLabel;
    QComboBox* ConfComboBox;
    DataGridWidget* StringGrid1;
    QComboBox* WeightComboBox;
    QComboBox* PrefComboBox;
    QComboBox* ExclComboBox;
    QPlainTextEdit* HelpMemo;
    QPlainTextEdit* PasteMemo;
    QPlainTextEdit* WaitMemo;
    QLabel* InputImage;
    QPushButton* ClearButton;
    QPushButton* PasteButton;
    QPushButton* HelpOpenButton;
    QPushButton* SaveButton; // " Save-Calculate "
    QPushButton* OpenButton; // " Open input file"

    // Puts the progress box at the top of the page, above the other controls.
    void PlaceWaitMemo();
    // The input file the grid was last read from or saved to.
    void ShowFileName(const std::string& fileName);

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace brekka
