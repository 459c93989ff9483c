#include "ui/InputTab.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/FiguresTab.h"
#include "ui/HelpTexts.h"
#include "ui/TextWindows.h"

namespace brekka {
namespace {

QComboBox* FixedChoice(QWidget* parent, const QString& text) {
    auto* box = new QComboBox(parent);
    box->addItem(text);
    box->setEnabled(false);
    return box;
}

} // namespace

InputTab::InputTab(QWidget* parent) : QWidget(parent) {
    FileNameLabel = new QLabel("File", this);
    FileNameEdit = new QLineEdit(this);
    FileNameEdit->setReadOnly(true);
    Title1Label = new QLabel("Title1", this);
    Title1Edit = new QLineEdit(this);
    Title1Edit->setToolTip("General information");
    Title2Label = new QLabel("Title2", this);
    Title2Edit = new QLineEdit(this);
    Title2Edit->setToolTip("Details about the variables and units");
    NrOfDataLabel = new QLabel("Nr. of Data", this);
    NrOfDataEdit = new QLineEdit("15", this);
    NrOfDataEdit->setMaximumWidth(70);
    NrOfVariablesLabel = new QLabel("Nr. of independent variables", this);
    NrOfVarComboBox = new QComboBox(this);
    NrOfVarComboBox->addItems({"1", "2"});
    ConfLabel = new QLabel("Minimum confidence %", this);
    ConfComboBox = new QComboBox(this);
    ConfComboBox->addItems({"90", "95", "98"});
    StringGrid1 = new DataGridWidget(this);
    WeightComboBox = FixedChoice(this, "         No weight factors required    ");
    PrefComboBox = FixedChoice(this, "           Preference: best of all");
    ExclComboBox = FixedChoice(this, "      No exclusion of regression types");
    HelpMemo = MakeMemo(this, SymbolsHelpText());
    PasteMemo = MakeMemo(this, PasteHelpText());
    WaitMemo = new QPlainTextEdit(this);
    WaitMemo->setReadOnly(true);
    WaitMemo->setFocusPolicy(Qt::NoFocus);
    WaitMemo->setStyleSheet("QPlainTextEdit { color: yellow; background-color: blue; }");
    QFont waitFont = WaitMemo->font();
    waitFont.setBold(true);
    WaitMemo->setFont(waitFont);
    InputImage = MakePicture(this, "input.jpg");
    ClearButton = new QPushButton("Clear data", this);
    PasteButton = new QPushButton("Paste help", this);
    HelpOpenButton = new QPushButton("Symbols help", this);
    SaveButton = new QPushButton(" Save-Calculate ", this);
    OpenButton = new QPushButton(" Open input file", this);

    auto* titles = new QGridLayout;
    titles->addWidget(FileNameLabel, 0, 0);
    titles->addWidget(FileNameEdit, 0, 1);
    titles->addWidget(Title1Label, 1, 0);
    titles->addWidget(Title1Edit, 1, 1);
    titles->addWidget(Title2Label, 2, 0);
    titles->addWidget(Title2Edit, 2, 1);

    auto* counts = new QHBoxLayout;
    counts->addWidget(NrOfDataLabel);
    counts->addWidget(NrOfDataEdit);
    counts->addSpacing(16);
    counts->addWidget(NrOfVariablesLabel);
    counts->addWidget(NrOfVarComboBox);
    counts->addSpacing(16);
    counts->addWidget(ConfLabel);
    counts->addWidget(ConfComboBox);
    counts->addStretch();

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {OpenButton, SaveButton, ClearButton, PasteButton, HelpOpenButton}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();

    for (QComboBox* box : {WeightComboBox, PrefComboBox, ExclComboBox}) {
        box->setFixedWidth(300);
    }
    auto* side = new QVBoxLayout;
    side->addWidget(WeightComboBox, 0, Qt::AlignLeft);
    side->addWidget(PrefComboBox, 0, Qt::AlignLeft);
    side->addWidget(ExclComboBox, 0, Qt::AlignLeft);
    side->addWidget(HelpMemo, 1);
    side->addWidget(PasteMemo, 1);
    side->addWidget(InputImage, 1);
    side->addStretch(0);

    auto* body = new QHBoxLayout;
    body->addWidget(StringGrid1, 0, Qt::AlignLeft);
    body->addLayout(side, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(titles);
    layout->addLayout(counts);
    layout->addLayout(buttons);
    layout->addLayout(body, 1);

    HelpMemo->hide();
    PasteMemo->hide();
    WaitMemo->hide();
}

void InputTab::PlaceWaitMemo() {
    // Beside the grid, below the settings, so no control the user set is covered.
    const QRect grid = StringGrid1->geometry();
    const int width = 300;
    WaitMemo->setGeometry(std::min(grid.right() + 24, this->width() - width - 8), grid.top(), width,
                          150);
    WaitMemo->raise();
}

void InputTab::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlaceWaitMemo();
}

void InputTab::ShowFileName(const std::string& fileName) {
    FileNameEdit->setText(QString::fromStdString(fileName));
    FileNameLabel->show();
    FileNameEdit->show();
}

} // namespace brekka
