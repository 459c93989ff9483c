#include "ui/FinishForm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QVBoxLayout>

#include "ui/HelpTexts.h"
#include "ui/TextWindows.h"

namespace brekka {

TFinishForm::TFinishForm(QWidget* parent) : TBaseForm(parent) {
    setWindowTitle("Brekka finish");
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    QStringList text = FinishText();
    if (text.isEmpty()) {
        text << " Thank you for using Brekka";
    }
    FinishMemo = MakeMemo(central, text);
    FinishButton = new QPushButton("Finish", central);
    layout->addWidget(FinishMemo);
    layout->addWidget(FinishButton, 0, Qt::AlignHCenter);
    setCentralWidget(central);
    resize(420, 240);
    connect(FinishButton, &QPushButton::clicked, this, &TFinishForm::FinishButtonClick);
}

void TFinishForm::FormShow() {
    ShowStatus("  Click on Finish to end the program");
}

void TFinishForm::FinishButtonClick() {
    QApplication::quit();
}

void TFinishForm::showEvent(QShowEvent* event) {
    TBaseForm::showEvent(event);
    FormShow();
}

void TFinishForm::closeEvent(QCloseEvent* event) {
    event->accept();
    QApplication::quit();
}

} // namespace brekka
