#include "ui/BaseForm.h"

namespace brekka {

TBaseForm::TBaseForm(QWidget* parent)
    : QMainWindow(parent), StatusBar1(new QStatusBar(this)), statusLabel_(new QLabel(this)) {
    StatusBar1->setSizeGripEnabled(false);
    statusLabel_->setContentsMargins(4, 0, 0, 0);
    StatusBar1->addWidget(statusLabel_, 1);
    setStatusBar(StatusBar1);
}

void TBaseForm::ShowStatus(const QString& text) {
    status_ = text;
    StatusBar1->clearMessage();
    statusLabel_->setText(text);
    StatusBar1->repaint();
}

QString TBaseForm::ShownStatus() const {
    const QString message = StatusBar1->currentMessage();
    return message.isEmpty() && statusLabel_->isVisible() ? statusLabel_->text() : message;
}

} // namespace brekka
