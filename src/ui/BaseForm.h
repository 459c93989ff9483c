#pragma once
// A window with a one-line status bar at the bottom.
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

namespace brekka {

class TBaseForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TBaseForm(QWidget* parent = nullptr);
    // Sets the status line and repaints it at once.
    void ShowStatus(const QString& text);
    QString StatusText() const { return status_; }
    // What the status bar shows now.
    QString ShownStatus() const;

    QStatusBar* StatusBar1;

private:
    QString status_;
    // The line lives in a label: a message of the bar itself is wiped by every
    // menu item the mouse passes over, and the line would stay empty.
    QLabel* statusLabel_;
};

} // namespace brekka
