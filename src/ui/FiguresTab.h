#pragma once
// The figures page: the function types, the confidence belt and the two methods
// of types 3 and 4, one picture at a time.
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace brekka {

class FiguresTab : public QWidget {
    Q_OBJECT
public:
    explicit FiguresTab(QWidget* parent = nullptr);

    QLabel* Types_Image;
    QLabel* Conf_Image;
    QLabel* Methods_Image;
    QPlainTextEdit* Conf_Memo;
    QPushButton* Figures_Button; // "All types"
    QPushButton* Conf_Button;
    QPushButton* Methods_Button;

    void Figures_ButtonClick() { ShowOnly(Types_Image); }
    void Conf_ButtonClick() { ShowOnly(Conf_Image); }
    void Methods_ButtonClick() { ShowOnly(Methods_Image); }

private:
    void ShowOnly(QLabel* picture);
};

// A picture of the resources, made smaller when the room is smaller than the
// picture (empty when it cannot be decoded).
class PictureLabel : public QLabel {
    Q_OBJECT
public:
    PictureLabel(QWidget* parent, const QString& name);
    bool HasPicture() const { return !image_.isNull(); }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage image_;
    void Fit();
};

QLabel* MakePicture(QWidget* parent, const QString& name);

} // namespace brekka
