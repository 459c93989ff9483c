#include "ui/FinishForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/HelpTexts.h"
#include "ui/TextWindows.h"

namespace brekka {

TFinishForm::TFinishForm(QWidget* parent) : TBaseForm(parent) {
    setWindowTitle("Brekka finish");
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    const QStringList text = FinishText();
    FinishMemo = MakeMemo(central, text);
    FinishButton = new QPushButton("Finish", central);
    layout->addWidget(FinishMemo);
    layout->addWidget(FinishButton, 0, Qt::AlignHCenter);
    setCentralWidget(central);
    // Wide enough for the longest line, so the thanks need no scrolling.
    const QFontMetrics metrics(FinishMemo->font());
    int textWidth = 0;
    for (const QString& line : text) {
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line));
    }
    resize(std::max(420, textWidth + 60), 240);
    connect(FinishButton, &QPushButton::clicked, this, &TFinishForm::FinishButtonClick);
}

void TFinishForm::FormShow() {
    ShowStatus("  Click on Finish to end the program");
}

void TFinishForm::FinishButtonClick() {
    // Not quit(): that first asks every window to close, and the main window
    // refuses, so the program would never end.
    QApplication::exit(0);
}

void TFinishForm::showEvent(QShowEvent* event) {
    TBaseForm::showEvent(event);
    FormShow();
}

void TFinishForm::closeEvent(QCloseEvent* event) {
    event->accept();
    QApplication::exit(0);
}

} // namespace brekka
