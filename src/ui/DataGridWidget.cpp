#include "ui/DataGridWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>

namespace brekka {

bool IsMultiCellText(const QString& text) {
    return text.contains('\t') || text.contains('\r') || text.contains('\n');
}

DataGridWidget::DataGridWidget(QWidget* parent) : QTableWidget(parent) {
    setItemDelegate(new CellDelegate(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(20);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setTabKeyNavigation(true);
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setToolTip("Y = dependent variable, X, Z independent");
}

void DataGridWidget::PasteText(const QString& text) {
    PasteTextAt(currentIndex(), text);
}

void DataGridWidget::PasteTextAt(const QModelIndex& index, const QString& text) {
    if (!index.isValid() || index.column() == 0) {
        return;
    }
    if (state() == QAbstractItemView::EditingState) {
        // The edit in progress is replaced by the paste.
        if (auto* focused = qobject_cast<CellEditor*>(QApplication::focusWidget())) {
            closeEditor(focused, QAbstractItemDelegate::RevertModelCache);
        }
    }
    if (IsMultiCellText(text)) {
        emit MultiCellPaste(index.column(), index.row() + 1, text);
    } else if (QTableWidgetItem* cell = item(index.row(), index.column())) {
        cell->setText(text.trimmed());
    }
}

void DataGridWidget::PasteClipboard() {
    PasteText(QApplication::clipboard()->text());
}

QString DataGridWidget::SelectionText() const {
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    if (ranges.isEmpty()) {
        const QTableWidgetItem* cell = currentItem();
        return cell && cell->column() > 0 ? cell->text() : QString();
    }
    // The selection is one contiguous block; the serial column is left out.
    const QTableWidgetSelectionRange& block = ranges.first();
    const int firstColumn = std::max(block.leftColumn(), 1);
    QString text;
    for (int r = block.topRow(); r <= block.bottomRow(); ++r) {
        QStringList cells;
        for (int c = firstColumn; c <= block.rightColumn(); ++c) {
            const QTableWidgetItem* cell = item(r, c);
            cells << (cell ? cell->text() : QString());
        }
        text += cells.join('\t') + '\n';
    }
    return text;
}

void DataGridWidget::CopySelection() {
    const QString text = SelectionText();
    if (!text.isEmpty()) {
        QApplication::clipboard()->setText(text);
    }
}

void DataGridWidget::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        PasteClipboard();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

QModelIndex DataGridWidget::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex from = currentIndex();
    const QModelIndex to = QTableWidget::moveCursor(action, modifiers);
    if (!to.isValid() || to.column() != 0 || columnCount() < 2) {
        return to;
    }
    const int lastColumn = columnCount() - 1;
    switch (action) {
    case MovePrevious: {
        // Shift+Tab from the first value cell goes to the last one of the row above.
        if (!from.isValid() || to.row() != from.row()) {
            return model()->index(to.row(), lastColumn);
        }
        const int row = from.row() > 0 ? from.row() - 1 : rowCount() - 1;
        return model()->index(row, lastColumn);
    }
    case MoveLeft:
        return from.isValid() && from.column() > 0 ? from : model()->index(to.row(), 1);
    default:
        // Tab past the last value cell, Home, Ctrl+Home: the first value cell.
        return model()->index(to.row(), 1);
    }
}

CellEditor::CellEditor(DataGridWidget* grid, const QModelIndex& index, QWidget* parent)
    : QLineEdit(parent), grid_(grid), index_(index) {
    setFrame(false);
}

void CellEditor::PasteClipboard() {
    const QString text = QApplication::clipboard()->text();
    if (IsMultiCellText(text)) {
        grid_->PasteTextAt(index_, text);
    } else {
        paste();
    }
}

void CellEditor::CopyClipboard() {
    if (grid_->selectedItems().size() > 1) {
        grid_->CopySelection();
    } else {
        copy();
    }
}

void CellEditor::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        PasteClipboard();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        CopyClipboard();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

QMenu* CellEditor::CreateContextMenu() {
    QMenu* menu = createStandardContextMenu();
    // The standard paste action carries no name here, and its key is left out of
    // its text when the window has a shortcut of the same key: it is known by
    // its caption.
    const QString pasteCaption = QLineEdit::tr("&Paste");
    for (QAction* action : menu->actions()) {
        const bool isPaste = action->objectName() == "edit-paste" ||
                             action->text().section('\t', 0, 0) == pasteCaption;
        if (isPaste) {
            action->disconnect();
            action->setEnabled(!QApplication::clipboard()->text().isEmpty());
            connect(action, &QAction::triggered, this, &CellEditor::PasteClipboard);
        }
    }
    return menu;
}

void CellEditor::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = CreateContextMenu();
    menu->exec(event->globalPos());
    delete menu;
}

QWidget* CellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex& index) const {
    if (index.column() == 0) {
        return nullptr;
    }
    return new CellEditor(grid_, index, parent);
}

} // namespace brekka
