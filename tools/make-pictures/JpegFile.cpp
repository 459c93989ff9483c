#include "JpegFile.h"

#include <QFile>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace brekka::pictures {
namespace {

// libjpeg's own error handler ends the process; this one jumps back to the caller.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void JumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void Silent(j_common_ptr) {}

struct Compression {
    jpeg_compress_struct info{};
    ErrorManager error{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

// Kept apart so that nothing in the frame of setjmp changes between the jump's
// setting and the jump itself.
bool Compress(Compression* job, const QImage* rgb, int quality) {
    job->info.err = jpeg_std_error(&job->error.base);
    job->error.base.error_exit = JumpBack;
    job->error.base.output_message = Silent;
    if (setjmp(job->error.jump)) {
        return false;
    }
    jpeg_create_compress(&job->info);
    jpeg_mem_dest(&job->info, &job->buffer, &job->size);
    job->info.image_width = static_cast<JDIMENSION>(rgb->width());
    job->info.image_height = static_cast<JDIMENSION>(rgb->height());
    job->info.input_components = 3;
    job->info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&job->info);
    jpeg_set_quality(&job->info, quality, TRUE);
    jpeg_start_compress(&job->info, TRUE);
    while (job->info.next_scanline < job->info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb->constScanLine(static_cast<int>(job->info.next_scanline)));
        jpeg_write_scanlines(&job->info, &row, 1);
    }
    jpeg_finish_compress(&job->info);
    return true;
}

} // namespace

bool WriteJpeg(const QImage& image, const QString& path, int quality) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull()) {
        return false;
    }
    Compression job;
    const bool compressed = Compress(&job, &rgb, quality);
    jpeg_destroy_compress(&job.info);
    bool written = false;
    if (compressed) {
        QFile file(path);
        written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                  file.write(reinterpret_cast<const char*>(job.buffer),
                             static_cast<qint64>(job.size)) == static_cast<qint64>(job.size);
        file.close();
        if (!written) {
            file.remove();
        }
    }
    std::free(job.buffer);
    return written;
}

} // namespace brekka::pictures
