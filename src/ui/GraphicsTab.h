#pragma once
// The graphics page: the drawn graph, a graph picture opened from a file, the
// choice of a two-variable graph and the buttons around them. The input and
// output pages hide and reset these controls; the graphs themselves are drawn
// elsewhere.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

namespace brekka {

class GraphicsTab : public QWidget {
    Q_OBJECT
public:
    explicit GraphicsTab(QWidget* parent = nullptr);

    QLabel* GraphImage;
    QLabel* PictureImage;
    QWidget* ChoicesPanel;
    QGroupBox* GraphicsRadioGroup;
    QRadioButton* Y_XRadioButton;
    QRadioButton* YXr_ZRadioButton;
    QRadioButton* Calc_ObsRadioButton;
    QRadioButton* Y_ZRadioButton;
    QRadioButton* X_ZRadioButton;
    QPushButton* GoButton;
    QPushButton* BPButton;
    QPushButton* SelectButton;
    QPushButton* SaveBlWhButton;
    QPushButton* SaveGraphButton;
    QPushButton* MakeGraphButton;
    QPushButton* SeeGraphButton;
    QPushButton* CalcObs_Button;
    QPushButton* ConfButton;
    QPushButton* BlockButton;

    // No graph on show: pictures, the saving and selection buttons and the choice
    // panel hidden, the toggles back to their first captions.
    void Reset();
};

} // namespace brekka
