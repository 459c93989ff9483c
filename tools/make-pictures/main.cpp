// Draws the pictures of the figures and input tabs and writes them as JPEG files
// into the directory given, normally resources/, with the program's icon.
#include "Figures.h"
#include "JpegFile.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: brekka-make-pictures DIRECTORY\n");
        return 2;
    }
    // Fonts need a GUI application, but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    if (!directory.exists()) {
        std::fprintf(stderr, "brekka-make-pictures: no directory %s\n", argv[1]);
        return 1;
    }
    using namespace brekka::pictures;
    const std::vector<std::pair<const char*, std::function<QImage()>>> pictures{
        {"types.jpg", DrawTypes},
        {"confidence.jpg", DrawConfidence},
        {"methods.jpg", DrawMethods},
        {"input.jpg", DrawInput}};
    for (const auto& [name, draw] : pictures) {
        const QString path = directory.filePath(name);
        if (!WriteJpeg(draw(), path, 90)) {
            std::fprintf(stderr, "brekka-make-pictures: cannot write %s\n",
                         path.toLocal8Bit().constData());
            return 1;
        }
    }
    // The icon keeps its transparent corners, so it is a PNG.
    const QString icon = directory.filePath("brekka.png");
    if (!DrawIcon(128).save(icon, "PNG")) {
        std::fprintf(stderr, "brekka-make-pictures: cannot write %s\n",
                     icon.toLocal8Bit().constData());
        return 1;
    }
    return 0;
}
