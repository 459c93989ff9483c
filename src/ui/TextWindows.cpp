#include "ui/TextWindows.h"

#include <QFontDatabase>
#include <QVBoxLayout>

#include "ui/HelpTexts.h"

namespace brekka {

QPlainTextEdit* MakeMemo(QWidget* parent, const QStringList& lines) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    memo->setPlainText(lines.join('\n'));
    return memo;
}

TTextWindow::TTextWindow(const QString& caption, const QStringList& lines, QSize size,
                         QWidget* parent)
    : QWidget(parent, Qt::Window) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    Memo = MakeMemo(this, lines);
    layout->addWidget(Memo);
    resize(size);
}

TSymbolsForm::TSymbolsForm(QWidget* parent)
    : TTextWindow("Brekka output symbols", OutputSymbolsText(), QSize(700, 480), parent) {
    SymbolsMemo = Memo;
}

THelpForm::THelpForm(QWidget* parent)
    : TTextWindow("Help St.Err.BP and confidence analysis", ConfidenceHelpText(), QSize(640, 420),
                  parent) {
    HelpMemo = Memo;
}

TMoreInfoForm::TMoreInfoForm(QWidget* parent)
    : TTextWindow("More Info", MoreInfoText(), QSize(680, 480), parent) {
    MoreInfoMemo = Memo;
}

} // namespace brekka
