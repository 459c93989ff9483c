#pragma once
// The output page: the report or the variance-analysis table as plain text.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace brekka {

class OutputTab : public QWidget {
    Q_OBJECT
public:
    explicit OutputTab(QWidget* parent = nullptr);

    QPlainTextEdit* OutputMemo;
    QPushButton* GraphicsButton; // "See graph"
    QPushButton* SymbolsButton;
    QPushButton* AnovaButton;
    QPushButton* ResultButton; // "Open output"

    // Replaces the memo's lines.
    void ShowLines(const std::vector<std::string>& lines);
};

} // namespace brekka
