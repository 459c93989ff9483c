#pragma once
// Writes a picture as a baseline JPEG file with libjpeg's compressor.
#include <QImage>
#include <QString>

namespace brekka::pictures {

// False, with nothing left behind, when the file cannot be written.
bool WriteJpeg(const QImage& image, const QString& path, int quality);

} // namespace brekka::pictures
