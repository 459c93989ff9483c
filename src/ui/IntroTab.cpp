#include "ui/IntroTab.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/HelpTexts.h"
#include "ui/TextWindows.h"

namespace brekka {

IntroTab::IntroTab(QWidget* parent) : QWidget(parent) {
    IntroMemo = MakeMemo(this, IntroText());
    TypesMemo = MakeMemo(this, TypesText());
    TestsMemo = MakeMemo(this, TestsText());
    SequenceMemo = MakeMemo(this, SequenceText());
    MethodsMemo = MakeMemo(this, MethodsText());
    DetailsGroupBox = new QGroupBox("Details", this);
    TypesButton = new QPushButton("Function types", DetailsGroupBox);
    TestsButton = new QPushButton("Significance tests", DetailsGroupBox);
    SequenceButton = new QPushButton("Calculation sequence", DetailsGroupBox);
    MethodsButton = new QPushButton("Calculation methods", DetailsGroupBox);
    BackButton = new QPushButton("Introduction", DetailsGroupBox);
    MoreInfoButton = new QPushButton("More info", this);

    auto* buttons = new QVBoxLayout(DetailsGroupBox);
    for (QPushButton* button :
         {TypesButton, TestsButton, SequenceButton, MethodsButton, BackButton}) {
        buttons->addWidget(button);
    }
    auto* side = new QVBoxLayout;
    side->addWidget(DetailsGroupBox);
    side->addSpacing(12);
    side->addWidget(MoreInfoButton);
    side->addStretch();

    auto* memos = new QVBoxLayout;
    for (QPlainTextEdit* memo : {IntroMemo, TypesMemo, TestsMemo, SequenceMemo, MethodsMemo}) {
        memos->addWidget(memo);
    }
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(memos, 1);
    layout->addLayout(side);
    MoreInfoButton->hide();
    ShowOnly(IntroMemo);
}

void IntroTab::ShowOnly(QPlainTextEdit* memo) {
    for (QPlainTextEdit* each : {IntroMemo, TypesMemo, TestsMemo, SequenceMemo, MethodsMemo}) {
        each->setVisible(each == memo);
    }
}

} // namespace brekka
