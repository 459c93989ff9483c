#pragma once
// The pictures of the figures tab and the input tab.
#include <QImage>

namespace brekka::pictures {

QImage DrawTypes();        // the seven function types, 820 x 440
QImage DrawConfidence();   // the confidence belt round a regression line, 600 x 420
QImage DrawMethods();      // the two calculation methods of types 3 and 4, 600 x 420
QImage DrawInput();        // a data set with a broken line, beside the input grid, 330 x 300
QImage DrawIcon(int size); // the program's icon, size x size, transparent corners

} // namespace brekka::pictures
