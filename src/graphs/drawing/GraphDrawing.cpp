#include "graphs/drawing/GraphDrawing.h"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>
#include <QSaveFile>

#include <cstdint>
#include <vector>

namespace brekka {

namespace {

QFont ArialFont(int pointSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(pointSize);
    font.setStyleStrategy(
        static_cast<QFont::StyleStrategy>(QFont::NoAntialias | QFont::PreferMatch));
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// Text with its top left corner at (x, y) on an opaque background.
void OpaqueText(QPainter& painter, int x, int y, const QString& text, const QColor& font,
                const QColor& background) {
    const QFontMetrics metrics(painter.font());
    const QRect box(x, y, metrics.horizontalAdvance(text), metrics.height());
    painter.fillRect(box, background);
    painter.setPen(font);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

QPoint Pixel(const GraphState& s, const GraphPoint& p) {
    return {PixelX(s, p.x), PixelY(s, p.y)};
}

QPen MakePen(const PlanPen& pen) {
    QPen result(InkColour(pen.ink));
    result.setWidth(pen.width);
    result.setStyle(pen.dashed ? Qt::DashLine : Qt::SolidLine);
    result.setCapStyle(Qt::FlatCap);
    result.setJoinStyle(Qt::MiterJoin);
    return result;
}

QImage NewPicture() {
    QImage image(kGraphWidth, kGraphHeight, QImage::Format_RGB32);
    // 96 dots per inch, so that font sizes in points give the usual pixel sizes.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    return image;
}

void PutLe(std::vector<char>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

} // namespace

QColor InkColour(Ink ink) {
    switch (ink) {
    case Ink::Black:
        return QColor(0, 0, 0);
    case Ink::White:
        return QColor(255, 255, 255);
    case Ink::Silver:
        return QColor(192, 192, 192);
    case Ink::Yellow:
        return QColor(255, 255, 0);
    case Ink::Aqua:
        return QColor(0, 255, 255);
    case Ink::Magenta:
        return QColor(255, 0, 255);
    case Ink::DarkBlue:
        return QColor(0, 0, 139);
    case Ink::MoneyGreen:
        return QColor(192, 220, 192);
    }
    return QColor(0, 0, 0);
}

void DrawFrame(QPainter& painter, const GraphPlan& plan) {
    const GraphState& s = plan.state;
    const bool colour = plan.choice.ColourMode;
    const QColor silver = InkColour(Ink::Silver);
    const QColor plot = InkColour(colour ? Ink::DarkBlue : Ink::White);
    const QColor ink = InkColour(colour ? Ink::White : Ink::Black);
    const QColor black = InkColour(Ink::Black);

    painter.fillRect(0, 0, kGraphWidth, kGraphHeight, silver);
    painter.setFont(ArialFont(12));
    OpaqueText(painter, 45, 4, QString::fromStdString(plan.data.Title1), black, silver);
    painter.setFont(ArialFont(10));
    OpaqueText(painter, 20, 449, QString::fromStdString(plan.CaptionLine), black, silver);

    painter.fillRect(QRect(QPoint(20, plan.PlotTop), QPoint(604, 444)), plot);
    OpaqueText(painter, 45, 22, QString::fromStdString(plan.data.Title2), ink, plot);

    painter.setPen(QPen(ink, 1));
    painter.drawLine(70, 400, 70, 80);
    painter.drawLine(70, 400, 570, 400);
    OpaqueText(painter, 515, 425, QString::fromStdString(s.XLabel), ink, plot);
    OpaqueText(painter, 70, 50, QString::fromStdString(s.YLabel), ink, plot);

    painter.setFont(ArialFont(8));
    const QFontMetrics small(painter.font());
    for (const Tick& tick : plan.YTicks) {
        painter.setPen(QPen(ink, 1));
        painter.drawLine(70, tick.pixel, 66, tick.pixel);
        const QString label = QString::fromStdString(tick.label);
        const int width = small.horizontalAdvance(label);
        const int top = tick.pixel - qRound(small.height() * 0.5);
        OpaqueText(painter, 64 - width, top, label, ink, plot);
    }
    for (size_t a = 0; a < plan.XTicks.size(); ++a) {
        const Tick& tick = plan.XTicks[a];
        painter.setPen(QPen(ink, 1));
        painter.drawLine(tick.pixel, 400, tick.pixel, 404);
        OpaqueText(painter, tick.pixel - 8, 412, QString::fromStdString(tick.label), ink, plot);
    }
    painter.setFont(ArialFont(10));
}

void DrawPlannedItems(QPainter& painter, const GraphPlan& plan) {
    const GraphState& s = plan.state;
    DrawFrame(painter, plan);
    for (const PlanItem& item : plan.Items) {
        switch (item.kind) {
        case PlanItem::Kind::Circles:
            painter.setPen(MakePen(item.pen));
            painter.setBrush(InkColour(item.brush));
            for (const GraphPoint& p : item.points) {
                const QPoint c = Pixel(s, p);
                painter.drawEllipse(QRect(c.x() - 2, c.y() - 2, 4, 4));
            }
            painter.setBrush(Qt::NoBrush);
            break;
        case PlanItem::Kind::Polyline: {
            std::vector<QPoint> points;
            for (const GraphPoint& p : item.points) {
                points.push_back(Pixel(s, p));
            }
            if (item.clampLastToAxis && !points.empty() && points.back().y() > 400) {
                points.back().setY(400);
            }
            painter.setPen(MakePen(item.pen));
            painter.drawPolyline(points.data(), static_cast<int>(points.size()));
            break;
        }
        case PlanItem::Kind::Text:
            OpaqueText(painter, item.x, item.y, QString::fromStdString(item.text),
                       InkColour(item.font), InkColour(item.brush));
            break;
        }
    }
}

QImage DrawGraph(const GraphPlan& plan) {
    QImage image = NewPicture();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    DrawPlannedItems(painter, plan);
    painter.end();
    return image;
}

QImage DrawSimpleGraph(const GraphPlan& plan) {
    return DrawGraph(plan);
}
QImage DrawBrokenLineGraph(const GraphPlan& plan) {
    return DrawGraph(plan);
}

bool SaveGraphBitmap(const QImage& image, const QString& fileName, QString* error) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const uint32_t width = static_cast<uint32_t>(rgb.width());
    const uint32_t height = static_cast<uint32_t>(rgb.height());
    const uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
    const uint32_t pixelBytes = rowBytes * height;
    std::vector<char> out;
    out.reserve(54 + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    PutLe(out, 54 + pixelBytes, 4);
    PutLe(out, 0, 4);
    PutLe(out, 54, 4);
    PutLe(out, 40, 4);
    PutLe(out, width, 4);
    PutLe(out, height, 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    PutLe(out, 0, 4);
    PutLe(out, pixelBytes, 4);
    PutLe(out, 3780, 4);
    PutLe(out, 3780, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    // Rows bottom up, each pixel blue, green, red, rows padded to four bytes.
    for (int y = static_cast<int>(height) - 1; y >= 0; --y) {
        const uchar* line = rgb.constScanLine(y);
        for (uint32_t x = 0; x < width; ++x) {
            out.push_back(static_cast<char>(line[3 * x + 2]));
            out.push_back(static_cast<char>(line[3 * x + 1]));
            out.push_back(static_cast<char>(line[3 * x]));
        }
        for (uint32_t pad = width * 3; pad < rowBytes; ++pad) {
            out.push_back(0);
        }
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(out.data(), static_cast<qint64>(out.size())) !=
            static_cast<qint64>(out.size()) ||
        !file.commit()) {
        if (error) {
            *error = QStringLiteral("The graph could not be written to \"%1\": %2")
                         .arg(fileName, file.errorString());
        }
        return false;
    }
    return true;
}

bool SaveGraphPng(const QImage& image, const QString& fileName, QString* error) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        if (error) {
            *error = QStringLiteral("The graph could not be written to \"%1\": %2")
                         .arg(fileName, file.errorString());
        }
        return false;
    }
    return true;
}

QImage LoadGraphPicture(const QString& fileName, QString* error) {
    QImageReader reader(fileName);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull() && error) {
        *error = QStringLiteral("The file \"%1\" could not be read as a picture: %2")
                     .arg(fileName, reader.errorString());
    }
    return image;
}

} // namespace brekka
