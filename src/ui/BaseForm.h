#pragma once
// A window with a one-line status bar at the bottom.
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

    QStatusBar* StatusBar1;

private:
    QString status_;
};

} // namespace brekka
