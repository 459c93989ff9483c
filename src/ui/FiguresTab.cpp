#include "ui/FiguresTab.h"

#include <QHBoxLayout>
#include <QPixmap>
#include <QVBoxLayout>

#include "ui/HelpTexts.h"
#include "ui/Pictures.h"
#include "ui/TextWindows.h"

namespace brekka {

PictureLabel::PictureLabel(QWidget* parent, const QString& name)
    : QLabel(parent), image_(LoadPicture(name)) {
    setAlignment(Qt::AlignCenter);
    setMinimumSize(1, 1);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    Fit();
}

void PictureLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Fit();
}

void PictureLabel::Fit() {
    if (image_.isNull()) {
        return;
    }
    const QSize room = size();
    const bool fits = image_.width() <= room.width() && image_.height() <= room.height();
    setPixmap(QPixmap::fromImage(
        fits ? image_ : image_.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

QLabel* MakePicture(QWidget* parent, const QString& name) {
    return new PictureLabel(parent, name);
}

FiguresTab::FiguresTab(QWidget* parent) : QWidget(parent) {
    Types_Image = MakePicture(this, "types.jpg");
    Conf_Image = MakePicture(this, "confidence.jpg");
    Methods_Image = MakePicture(this, "methods.jpg");
    Conf_Memo = MakeMemo(this, ConfidenceFigureText());
    Conf_Memo->setMaximumHeight(90);
    Figures_Button = new QPushButton("All types", this);
    Conf_Button = new QPushButton("Confidence belt", this);
    Methods_Button = new QPushButton("Methods type 3 or 4", this);

    auto* pictures = new QVBoxLayout;
    pictures->addWidget(Types_Image, 1);
    pictures->addWidget(Conf_Image, 1);
    pictures->addWidget(Methods_Image, 1);
    pictures->addWidget(Conf_Memo);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(Figures_Button);
    buttons->addWidget(Conf_Button);
    buttons->addWidget(Methods_Button);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(pictures, 1);
    layout->addLayout(buttons);

    connect(Figures_Button, &QPushButton::clicked, this, &FiguresTab::Figures_ButtonClick);
    connect(Conf_Button, &QPushButton::clicked, this, &FiguresTab::Conf_ButtonClick);
    connect(Methods_Button, &QPushButton::clicked, this, &FiguresTab::Methods_ButtonClick);
    Figures_ButtonClick();
}

void FiguresTab::ShowOnly(QLabel* picture) {
    for (QLabel* each : {Types_Image, Conf_Image, Methods_Image}) {
        each->setVisible(each == picture);
    }
    Conf_Memo->setVisible(picture == Conf_Image);
}

} // namespace brekka
