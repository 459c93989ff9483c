#include "ui/Pictures.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>

#include <QIcon>
#include <QPixmap>

#include <jpeglib.h>

// Resources of a static library are registered by hand, and only from outside any
// namespace.
static void RegisterPictureResources() {
    Q_INIT_RESOURCE(pictures);
}

namespace brekka {
namespace {

// Larger pictures are not ours; refusing them keeps a damaged header from asking
// for gigabytes.
constexpr JDIMENSION kMaxSide = 8192;

// libjpeg's own handler ends the process on an error and prints warnings; this
// one jumps back to the decoder on both, since a warning means damaged data that
// would otherwise be shown as a half grey picture.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void JumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void OnMessage(j_common_ptr info, int level) {
    if (level < 0) {
        JumpBack(info);
    }
}

void Silent(j_common_ptr) {}

struct Decompression {
    jpeg_decompress_struct info{};
    ErrorManager error{};
};

// Everything that changes while libjpeg runs lives behind these pointers, so
// nothing in this frame is left undefined by the jump.
bool Decode(Decompression* job, const QByteArray* bytes, QImage* image) {
    job->info.err = jpeg_std_error(&job->error.base);
    job->error.base.error_exit = JumpBack;
    job->error.base.emit_message = OnMessage;
    job->error.base.output_message = Silent;
    if (setjmp(job->error.jump)) {
        return false;
    }
    jpeg_create_decompress(&job->info);
    jpeg_mem_src(&job->info, reinterpret_cast<const unsigned char*>(bytes->constData()),
                 static_cast<unsigned long>(bytes->size()));
    if (jpeg_read_header(&job->info, TRUE) != JPEG_HEADER_OK) {
        return false;
    }
    if (job->info.image_width == 0 || job->info.image_height == 0 ||
        job->info.image_width > kMaxSide || job->info.image_height > kMaxSide) {
        return false;
    }
    switch (job->info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        job->info.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        job->info.out_color_space = JCS_RGB;
        break;
    default: // CMYK and the like: not a picture of this program
        return false;
    }
    jpeg_start_decompress(&job->info);
    const int components = job->info.output_components;
    if ((components != 1 && components != 3) || job->info.output_width == 0) {
        return false;
    }
    *image =
        QImage(static_cast<int>(job->info.output_width), static_cast<int>(job->info.output_height),
               components == 1 ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (image->isNull()) {
        return false;
    }
    while (job->info.output_scanline < job->info.output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(job->info.output_scanline));
        if (jpeg_read_scanlines(&job->info, &row, 1) != 1) {
            return false;
        }
    }
    jpeg_finish_decompress(&job->info);
    return true;
}

} // namespace

QImage DecodeJpeg(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return QImage();
    }
    Decompression job;
    QImage image;
    const bool decoded = Decode(&job, &bytes, &image);
    jpeg_destroy_decompress(&job.info);
    if (!decoded) {
        return QImage();
    }
    if (image.format() != QImage::Format_RGB888) {
        image = image.convertToFormat(QImage::Format_RGB888);
    }
    return image;
}

namespace {

QByteArray ResourceBytes(const QString& name) {
    static const bool registered = (RegisterPictureResources(), true);
    (void)registered;
    QFile file(":/pictures/" + name);
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    return file.readAll();
}

} // namespace

QImage LoadPicture(const QString& name) {
    return DecodeJpeg(ResourceBytes(name));
}

QIcon ProgramIcon() {
    QImage icon;
    icon.loadFromData(ResourceBytes("brekka.png"), "PNG");
    return icon.isNull() ? QIcon() : QIcon(QPixmap::fromImage(icon));
}

} // namespace brekka
