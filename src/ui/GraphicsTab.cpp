#include "ui/GraphicsTab.h"

namespace brekka {
namespace {

QPushButton* Button(QWidget* parent, const QString& caption, int left, int top, int width) {
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(left, top, width, 25);
    return button;
}

QRadioButton* Radio(QWidget* parent, const QString& caption, int top, int width) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setGeometry(24, top, width, 17);
    return radio;
}

} // namespace

GraphicsTab::GraphicsTab(QWidget* parent) : QWidget(parent) {
    GraphImage = new QLabel(this);
    GraphImage->setGeometry(10, 0, 623, 465);
    GraphImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PictureImage = new QLabel(this);
    PictureImage->setGeometry(16, 8, 609, 465);
    PictureImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ChoicesPanel = new QWidget(this);
    ChoicesPanel->setGeometry(160, 136, 225, 153);
    ChoicesPanel->setAutoFillBackground(true);
    GraphicsRadioGroup = new QGroupBox("Select graph", ChoicesPanel);
    GraphicsRadioGroup->setGeometry(16, 8, 169, 129);
    Y_XRadioButton = Radio(ChoicesPanel, "Y-X function", 32, 153);
    YXr_ZRadioButton = Radio(ChoicesPanel, "Residuals-Z function", 52, 153);
    Calc_ObsRadioButton = Radio(ChoicesPanel, "Calculated-observed", 72, 153);
    Y_ZRadioButton = Radio(ChoicesPanel, "Y-Z data plot", 92, 113);
    X_ZRadioButton = Radio(ChoicesPanel, "X-Z data plot", 112, 97);
    Y_XRadioButton->setChecked(true);
    GoButton = Button(ChoicesPanel, "Go", 184, 63, 33);
    QFont goFont("Arial");
    goFont.setStyleHint(QFont::SansSerif);
    goFont.setBold(true);
    goFont.setPixelSize(13);
    GoButton->setFont(goFont);
    BPButton = Button(this, "Confidence help", 128, 489, 105);
    SelectButton = Button(this, "Select graph", 248, 489, 95);
    SaveBlWhButton = Button(this, " Save black-white graph", 360, 489, 145);
    SaveGraphButton = Button(this, "Save color graph", 520, 489, 112);
    MakeGraphButton = Button(this, "Make graph", 647, 489, 89);
    SeeGraphButton = Button(this, "Open graph", 751, 489, 89);
    CalcObs_Button = Button(this, "See calc-obs graph", 646, 352, 146);
    ConfButton = Button(this, "Remove conf. belt", 646, 400, 145);
    BlockButton = Button(this, "Remove conf. block", 648, 440, 145);
    ChoicesPanel->hide();
    SelectButton->hide();
    CalcObs_Button->hide();
    Reset();
}

void GraphicsTab::Reset() {
    for (QWidget* each :
         {static_cast<QWidget*>(GraphImage), static_cast<QWidget*>(PictureImage),
          static_cast<QWidget*>(SaveGraphButton), static_cast<QWidget*>(SaveBlWhButton),
          static_cast<QWidget*>(SelectButton), static_cast<QWidget*>(BPButton), ChoicesPanel}) {
        each->hide();
    }
    ConfButton->setText("Remove conf. belt");
    BlockButton->setText("Remove conf. block");
    CalcObs_Button->setText("See calc-obs graph");
}

} // namespace brekka
