// Draws the pictures of the figures and input tabs and writes them as JPEG files
// into the directory given, normally resources/, with the program's icon at the sizes
// the window and the desktop use.
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
    // The icon keeps its transparent corners, so it is a PNG: brekka.png is the window's,
    // compiled in; icons/ holds the sizes installed for the desktop beside brekka.svg.
    if (!directory.mkpath("icons")) {
        std::fprintf(stderr, "brekka-make-pictures: cannot make %s\n",
                     directory.filePath("icons").toLocal8Bit().constData());
        return 1;
    }
    std::vector<std::pair<QString, int>> icons{{directory.filePath("brekka.png"), 128}};
    for (const int size : {48, 128, 256}) {
        icons.emplace_back(directory.filePath(QString("icons/brekka-%1.png").arg(size)), size);
    }
    for (const auto& [path, size] : icons) {
        if (!DrawIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "brekka-make-pictures: cannot write %s\n",
                         path.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
