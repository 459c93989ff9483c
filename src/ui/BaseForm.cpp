#include "ui/BaseForm.h"

namespace brekka {

TBaseForm::TBaseForm(QWidget* parent) : QMainWindow(parent), StatusBar1(new QStatusBar(this)) {
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);
}

void TBaseForm::ShowStatus(const QString& text) {
    status_ = text;
    StatusBar1->showMessage(text);
    StatusBar1->repaint();
}

} // namespace brekka
