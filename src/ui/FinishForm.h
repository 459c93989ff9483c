#pragma once
// The window through which the program ends.
#include <QPlainTextEdit>
#include <QPushButton>

#include "ui/BaseForm.h"

namespace brekka {

class TFinishForm : public TBaseForm {
    Q_OBJECT
public:
    explicit TFinishForm(QWidget* parent = nullptr);
    QPlainTextEdit* FinishMemo;
    QPushButton* FinishButton;

    void FormShow();
    void FinishButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

} // namespace brekka
