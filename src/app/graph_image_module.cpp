#include "app/graph_image_module.h"

#include <QGuiApplication>
#include <iostream>
#include <string>

#include "graphs/drawing/GraphDrawing.h"

namespace {

// The offscreen platform complains about a missing runtime directory it never
// uses; everything else Qt says goes to standard error as usual.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QStringLiteral("XDG_RUNTIME_DIR"))) {
        return;
    }
    std::cerr << qFormatLogMessage(type, context, message).toLocal8Bit().constData() << "\n";
}

} // namespace

extern "C" __attribute__((visibility("default"))) int
BrekkaWriteGraphImage(const brekka::GraphPlan* plan, const char* image, bool bitmap, int argc,
                      char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(QuietMessages);
    QGuiApplication application(argc, argv);
    const QImage picture = brekka::DrawGraph(*plan);
    QString error;
    const QString name = QString::fromLocal8Bit(image);
    const bool written = bitmap ? brekka::SaveGraphBitmap(picture, name, &error)
                                : brekka::SaveGraphPng(picture, name, &error);
    if (!written) {
        std::cerr << error.toLocal8Bit().constData() << "\n";
        return 1;
    }
    return 0;
}
