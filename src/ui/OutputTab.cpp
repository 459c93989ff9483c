#include "ui/OutputTab.h"

#include <QFont>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace brekka {

OutputTab::OutputTab(QWidget* parent) : QWidget(parent) {
    OutputMemo = new QPlainTextEdit(this);
    OutputMemo->setReadOnly(true);
    OutputMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    OutputMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    OutputMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // "Courier New" resolves to its metric twin of fonts-liberation.
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(true);
    font.setPixelSize(13);
    OutputMemo->setFont(font);
    // The buttons stay at the foot of the page while no report is shown.
    QSizePolicy keepPlace = OutputMemo->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    OutputMemo->setSizePolicy(keepPlace);
    GraphicsButton = new QPushButton("See graph", this);
    SymbolsButton = new QPushButton("Symbols", this);
    AnovaButton = new QPushButton("Anova table", this);
    ResultButton = new QPushButton("Open output", this);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ResultButton);
    buttons->addWidget(AnovaButton);
    buttons->addWidget(SymbolsButton);
    buttons->addWidget(GraphicsButton);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(OutputMemo, 1);
    layout->addLayout(buttons);
    SymbolsButton->hide();
}

void OutputTab::ShowLines(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines) {
        text << QString::fromStdString(line);
    }
    OutputMemo->setPlainText(text.join('\n'));
}

} // namespace brekka
