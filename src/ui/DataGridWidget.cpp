#include "ui/DataGridWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

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

void DataGridWidget::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        PasteClipboard();
        return;
    }
    QTableWidget::keyPressEvent(event);
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

void CellEditor::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste)) {
        PasteClipboard();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CellEditor::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        if (action->objectName() == "edit-paste") {
            action->disconnect();
            action->setEnabled(!QApplication::clipboard()->text().isEmpty());
            connect(action, &QAction::triggered, this, &CellEditor::PasteClipboard);
        }
    }
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
