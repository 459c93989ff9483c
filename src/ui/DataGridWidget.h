#pragma once
// The data grid. Pasted text with several cells reaches the window as one text,
// whether it is pasted onto a selected cell (Ctrl+V, the Edit menu) or into the
// cell editor (Ctrl+V or its context menu).
#include <QLineEdit>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace brekka {

class DataGridWidget : public QTableWidget {
    Q_OBJECT
public:
    explicit DataGridWidget(QWidget* parent = nullptr);
    // Pastes the text at the current cell (the editor, if one is open, is closed).
    void PasteText(const QString& text);
    void PasteTextAt(const QModelIndex& index, const QString& text);
    void PasteClipboard();
    // The selected value cells as spreadsheet text: a tab between cells, a line
    // end after each row, so that a paste elsewhere (or here) gives them back.
    QString SelectionText() const;
    void CopySelection();
    // Typed digits go into a cell; they never make the current cell jump to
    // another row whose text starts with them.
    void keyboardSearch(const QString&) override {}

signals:
    // A text holding a tab or a line end, for the cell at (column, row).
    void MultiCellPaste(int column, int row, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The serial column holds no data: moving with Tab, Home or the arrows goes
    // from value cell to value cell.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
};

// The cell editor: a paste of several cells is handed to the grid.
class CellEditor : public QLineEdit {
    Q_OBJECT
public:
    CellEditor(DataGridWidget* grid, const QModelIndex& index, QWidget* parent);
    void PasteClipboard();
    // With several cells selected, their text; otherwise the editor's own copy.
    void CopyClipboard();
    // The editor's standard menu, its paste handing several cells to the grid.
    QMenu* CreateContextMenu();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    DataGridWidget* grid_;
    QPersistentModelIndex index_;
};

class CellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CellDelegate(DataGridWidget* grid) : QStyledItemDelegate(grid), grid_(grid) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

private:
    DataGridWidget* grid_;
};

bool IsMultiCellText(const QString& text);

} // namespace brekka
