// Pixels of drawn graphs at places the layout fixes, and the bitmap files.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <filesystem>

#include "data/GraphReader.h"
#include "graphs/drawing/GraphDrawing.h"

using namespace brekka;

namespace {

GraphPlan Plan(const char* fixture, GraphChoice choice) {
    const std::string path =
        (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data" /
         "fixtures" / fixture)
            .string();
    GraphData data;
    GraphState state;
    ReadOutputForGraph(path, data, state);
    GraphPlanResult result = PlanGraph(state, data, choice);
    if (!result.plan) {
        qFatal("no plan: %s", result.message.c_str());
    }
    return *result.plan;
}

quint32 Le(const QByteArray& bytes, int at, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<quint8>(bytes[at + i]);
    }
    return value;
}

} // namespace

class GraphDrawingTest : public QObject {
    Q_OBJECT

private slots:
    void frameColoursInColourAndBlackAndWhite() {
        for (bool colour : {true, false}) {
            GraphChoice choice;
            choice.ColourMode = colour;
            const QImage image = DrawGraph(Plan("one-type4.out", choice));
            QCOMPARE(image.size(), QSize(623, 465));
            const QColor plot = colour ? QColor(0, 0, 139) : QColor(255, 255, 255);
            const QColor ink = colour ? QColor(255, 255, 255) : QColor(0, 0, 0);
            QCOMPARE(image.pixelColor(2, 2), QColor(192, 192, 192));
            QCOMPARE(image.pixelColor(10, 300), QColor(192, 192, 192));
            QCOMPARE(image.pixelColor(610, 300), QColor(192, 192, 192));
            // The plot area of a graph with breakpoint starts at row 22.
            QCOMPARE(image.pixelColor(300, 21), QColor(192, 192, 192));
            QCOMPARE(image.pixelColor(25, 440), plot);
            QCOMPARE(image.pixelColor(604, 444), plot);
            QCOMPARE(image.pixelColor(605, 444), QColor(192, 192, 192));
            QCOMPARE(image.pixelColor(300, 445), QColor(192, 192, 192));
            // Both axes and a tick mark.
            QCOMPARE(image.pixelColor(70, 250), ink);
            QCOMPARE(image.pixelColor(300, 400), ink);
            QCOMPARE(image.pixelColor(67, 80), ink);
            QCOMPARE(image.pixelColor(570, 403), ink);
        }
    }

    void simpleGraphStartsItsPlotAreaOneRowHigher() {
        const QImage image = DrawGraph(Plan("one-type1.out", GraphChoice{}));
        QCOMPARE(image.pixelColor(300, 21), QColor(0, 0, 139));
        QCOMPARE(image.pixelColor(300, 20), QColor(192, 192, 192));
    }

    void functionAndPointsInTheirColours() {
        GraphChoice choice;
        choice.BeltOn = false;
        choice.BlockOn = false;
        for (bool colour : {true, false}) {
            choice.ColourMode = colour;
            const GraphPlan plan = Plan("one-type4.out", choice);
            const QImage image = DrawGraph(plan);
            const GraphState& s = plan.state;
            // The horizontal right part of the function, midway between the
            // breakpoint and the right end of X.
            const int x = (PixelX(s, s.LineBreak.x) + PixelX(s, s.LineEnd.x)) / 2;
            const int y = PixelY(s, s.LineEnd.y);
            QCOMPARE(image.pixelColor(x, y), colour ? QColor(0, 255, 255) : QColor(0, 0, 0));
            // A data point: a ring round its centre, the inside left in the brush.
            const int px = PixelX(s, plan.data.GraphX[8]);
            const int py = PixelY(s, plan.data.GraphY[8]);
            int ring = 0;
            for (int dx = -2; dx <= 2; ++dx) {
                for (int dy = -2; dy <= 2; ++dy) {
                    ring += image.pixelColor(px + dx, py + dy) ==
                            (colour ? QColor(255, 255, 255) : QColor(0, 0, 0));
                }
            }
            QVERIFY2(ring >= 6, "the circle of a data point");
        }
    }

    void beltAndBlockCanBeSwitchedOff() {
        auto count = [](const QImage& image, const QColor& colour) {
            int n = 0;
            for (int y = 22; y < 445; ++y) {
                for (int x = 20; x < 605; ++x) {
                    n += image.pixelColor(x, y) == colour;
                }
            }
            return n;
        };
        const QColor yellow(255, 255, 0), magenta(255, 0, 255);
        GraphChoice all;
        const QImage full = DrawGraph(Plan("one-type4.out", all));
        QVERIFY(count(full, yellow) > 100);
        QVERIFY(count(full, magenta) > 50);
        GraphChoice none;
        none.BeltOn = false;
        none.BlockOn = false;
        const QImage bare = DrawGraph(Plan("one-type4.out", none));
        QCOMPARE(count(bare, yellow), 0);
        QCOMPARE(count(bare, magenta), 0);
    }

    void blackAndWhiteHasOnlyTheColoursWithoutAlternative() {
        // The residual graph of a two-variable report, with belt and block.
        const QImage image = DrawGraph(Plan("two-yx-3-2.out", GraphChoice{2, true, true, false}));
        for (int y = 22; y < 445; ++y) {
            for (int x = 20; x < 605; ++x) {
                const QColor c = image.pixelColor(x, y);
                QVERIFY2(c == QColor(0, 0, 0) || c == QColor(255, 255, 255),
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
    }

    void bitmapFileIsUncompressed24BitAndReadsBack() {
        QTemporaryDir dir;
        const QImage image = DrawGraph(Plan("one-type2.out", GraphChoice{}));
        const QString name = dir.filePath(QStringLiteral("graph.bmp"));
        QString error;
        QVERIFY(SaveGraphBitmap(image, name, &error));
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const int rowBytes = (623 * 3 + 3) / 4 * 4;
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(Le(bytes, 2, 4), quint32(54 + rowBytes * 465));
        QCOMPARE(bytes.size(), 54 + rowBytes * 465);
        QCOMPARE(Le(bytes, 10, 4), 54u);
        QCOMPARE(Le(bytes, 14, 4), 40u);
        QCOMPARE(Le(bytes, 18, 4), 623u);
        QCOMPARE(Le(bytes, 22, 4), 465u);
        QCOMPARE(Le(bytes, 26, 2), 1u);
        QCOMPARE(Le(bytes, 28, 2), 24u);
        QCOMPARE(Le(bytes, 30, 4), 0u);
        // The last row of the file is the top row of the picture: silver, as
        // blue, green, red.
        QCOMPARE(static_cast<quint8>(bytes[54 + 464 * rowBytes]), quint8(192));
        // The first row is the bottom row; its padding bytes are zero.
        QCOMPARE(static_cast<quint8>(bytes[54 + 623 * 3]), quint8(0));

        const QImage back = LoadGraphPicture(name, &error);
        QCOMPARE(back.size(), image.size());
        for (int y = 0; y < 465; y += 7) {
            for (int x = 0; x < 623; x += 5) {
                QCOMPARE(back.pixel(x, y), image.pixel(x, y));
            }
        }
    }

    void unwritableAndUnreadableFilesGiveMessages() {
        QTemporaryDir dir;
        QString error;
        const QImage image = DrawGraph(Plan("one-type0.out", GraphChoice{}));
        QVERIFY(!SaveGraphBitmap(image, dir.filePath(QStringLiteral("no/dir/g.bmp")), &error));
        QVERIFY(!error.isEmpty());
        const QString junk = dir.filePath(QStringLiteral("junk.bmp"));
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("BM not a picture");
        file.close();
        error.clear();
        QVERIFY(LoadGraphPicture(junk, &error).isNull());
        QVERIFY(!error.isEmpty());
        QVERIFY(SaveGraphPng(image, dir.filePath(QStringLiteral("g.png")), &error));
        QCOMPARE(LoadGraphPicture(dir.filePath(QStringLiteral("g.png")), &error).size(),
                 QSize(623, 465));
    }
};

QTEST_MAIN(GraphDrawingTest)
#include "GraphDrawingTest.moc"
