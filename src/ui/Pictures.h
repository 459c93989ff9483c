#pragma once
// The pictures of the figures and input tabs, kept in the program as JPEG files and
// decoded with libjpeg. A damaged or missing picture gives a null image.
#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

namespace brekka {

// Decodes JPEG bytes into an RGB image; a null image when the bytes are not a
// complete JPEG picture.
QImage DecodeJpeg(const QByteArray& bytes);

// The picture of the program's resources with this name ("types.jpg",
// "confidence.jpg", "methods.jpg", "input.jpg"); a null image when it is missing
// or damaged.
QImage LoadPicture(const QString& name);

// The program's icon (a PNG among the resources); an empty icon when it is missing.
QIcon ProgramIcon();

} // namespace brekka
