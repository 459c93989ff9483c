#pragma once
// The auxiliary windows that show one fixed text: symbols of the report, help on
// the confidence analysis, more information on the choice of the type.
#include <QPlainTextEdit>
#include <QWidget>

namespace brekka {

// A window of one read-only memo.
class TTextWindow : public QWidget {
    Q_OBJECT
public:
    TTextWindow(const QString& caption, const QStringList& lines, QSize size,
                QWidget* parent = nullptr);
    QPlainTextEdit* Memo;
};

class TSymbolsForm : public TTextWindow {
    Q_OBJECT
public:
    explicit TSymbolsForm(QWidget* parent = nullptr);
    QPlainTextEdit* SymbolsMemo;
};

class THelpForm : public TTextWindow {
    Q_OBJECT
public:
    explicit THelpForm(QWidget* parent = nullptr);
    QPlainTextEdit* HelpMemo;
};

class TMoreInfoForm : public TTextWindow {
    Q_OBJECT
public:
    explicit TMoreInfoForm(QWidget* parent = nullptr);
    QPlainTextEdit* MoreInfoMemo;
};

// Read-only, monospaced, no wrapping: the memos show fixed-column texts.
QPlainTextEdit* MakeMemo(QWidget* parent, const QStringList& lines);

} // namespace brekka
