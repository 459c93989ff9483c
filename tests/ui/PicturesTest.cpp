// The pictures kept in the program decode to their drawn sizes, and bytes that are
// not a whole JPEG picture give an empty image instead of ending the program.
#include "ui/Pictures.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtTest>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

using brekka::DecodeJpeg;
using brekka::LoadPicture;

namespace {

// A grey ramp written with libjpeg itself, so the test needs no image plugin.
QByteArray GreyJpeg(int width, int height) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 1;
    info.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(width));
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            row[static_cast<std::size_t>(x)] = static_cast<unsigned char>(x * 255 / (width - 1));
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    std::free(buffer);
    return bytes;
}

QByteArray ResourceBytes(const QString& name) {
    LoadPicture(name); // registers the resources
    QFile file(":/pictures/" + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void resourcePicturesDecode_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("types") << "types.jpg" << QSize(820, 440);
        QTest::newRow("confidence") << "confidence.jpg" << QSize(600, 420);
        QTest::newRow("methods") << "methods.jpg" << QSize(600, 420);
        QTest::newRow("input") << "input.jpg" << QSize(330, 300);
    }

    void resourcePicturesDecode() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QImage image = LoadPicture(name);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), QImage::Format_RGB888);
        // The background is white and the drawing dark: a decoder that mixed up
        // rows or channels would not give both.
        const QColor corner = image.pixelColor(1, size.height() - 2);
        QVERIFY(corner.red() > 240 && corner.green() > 240 && corner.blue() > 240);
        int dark = 0;
        for (int y = 0; y < size.height(); y += 2) {
            for (int x = 0; x < size.width(); x += 2) {
                dark += image.pixelColor(x, y).lightness() < 80 ? 1 : 0;
            }
        }
        QVERIFY(dark > 200);
    }

    void programIconIsAmongTheResources() {
        const QIcon icon = brekka::ProgramIcon();
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.pixmap(QSize(128, 128)).size(), QSize(128, 128));
    }

    void damagedOrMissingGiveEmptyImage() {
        QVERIFY(LoadPicture("no-such-picture.jpg").isNull());
        QVERIFY(DecodeJpeg(QByteArray()).isNull());
        QVERIFY(DecodeJpeg(QByteArray("\xff\xd8", 2)).isNull());

        QRandomGenerator random(20240611u);
        for (int i = 0; i < 20; ++i) {
            QByteArray noise(64 + i * 97, '\0');
            for (char& c : noise) {
                c = static_cast<char>(random.bounded(256));
            }
            QVERIFY(DecodeJpeg(noise).isNull());
        }

        const QByteArray whole = ResourceBytes("methods.jpg");
        QVERIFY(!DecodeJpeg(whole).isNull());
        for (const qsizetype keep :
             {qsizetype(20), qsizetype(400), whole.size() / 2, whole.size() - 2}) {
            QVERIFY2(DecodeJpeg(whole.left(keep)).isNull(), qPrintable(QString::number(keep)));
        }

        // A header that promises a picture far larger than any of ours.
        QByteArray huge = GreyJpeg(16, 8);
        const qsizetype frame = huge.indexOf("\xff\xc0");
        QVERIFY(frame > 0);
        huge[frame + 5] = '\x7f'; // height 0x7f00
        huge[frame + 7] = '\x7f'; // width 0x7f10
        QVERIFY(DecodeJpeg(huge).isNull());
    }

    void greyPictureDecodesToRgb() {
        const QImage image = DecodeJpeg(GreyJpeg(64, 24));
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(64, 24));
        QCOMPARE(image.format(), QImage::Format_RGB888);
        for (const int x : {0, 21, 42, 63}) {
            const QColor c = image.pixelColor(x, 12);
            QCOMPARE(c.red(), c.green());
            QCOMPARE(c.green(), c.blue());
            QVERIFY2(std::abs(c.red() - x * 255 / 63) <= 8, qPrintable(QString::number(x)));
        }
    }
};

QTEST_MAIN(PicturesTest)
#include "PicturesTest.moc"
