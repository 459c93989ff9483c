#pragma once
// The intro page: five explanatory memos in one place, one visible at a time, and
// the buttons that choose among them.
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace brekka {

class IntroTab : public QWidget {
    Q_OBJECT
public:
    explicit IntroTab(QWidget* parent = nullptr);

    QPlainTextEdit* IntroMemo;
    QPlainTextEdit* TypesMemo;
    QPlainTextEdit* TestsMemo;
    QPlainTextEdit* SequenceMemo;
    QPlainTextEdit* MethodsMemo;
    QGroupBox* DetailsGroupBox;
    QPushButton* TypesButton;
    QPushButton* TestsButton;
    QPushButton* SequenceButton;
    QPushButton* MethodsButton;
    QPushButton* BackButton;
    QPushButton* MoreInfoButton;

    // Shows this memo and hides the other four.
    void ShowOnly(QPlainTextEdit* memo);
};

} // namespace brekka
