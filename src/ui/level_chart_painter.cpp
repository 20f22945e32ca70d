#include "ui/level_chart_painter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace zelar::ui {

namespace {

// The scale: a line and a mark at every quarter.
void paintScale(QPainter& painter, const QRectF& plot, double scaleWidth, int maxValue,
                const ChartLook& look, const QFontMetricsF& metrics) {
    const double half = metrics.height() / 2;
    painter.setPen(look.text);
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const double value = maxValue * quarter / 4.0;
        const double y = plot.bottom() - plot.height() * value / maxValue;
        painter.drawText(
            QRectF(plot.left() - scaleWidth, y - half, scaleWidth - 4, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter,
            QString::number(static_cast<int>(value)) + QLatin1Char('%'));
        QColor grid = look.grid;
        if (quarter != 0 && quarter != 4)
            grid.setAlpha(96);
        painter.save();
        painter.setPen(grid);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.restore();
    }
}

// The line, broken at every point without a value; a value between two gaps is a dot.
void paintLine(QPainter& painter, const QRectF& plot, const LevelChart& chart, int maxValue) {
    const QColor green(0, 128, 0);
    painter.setPen(QPen(green, 2));
    painter.setBrush(green);
    QPainterPath path;
    bool inLine = false;
    for (std::size_t i = 0; i < chart.points.size(); ++i) {
        const LevelChart::Point& point = chart.points[i];
        if (!point.value || point.msBeforeEnd > chart.spanMs) {
            inLine = false;
            continue;
        }
        const QPointF at(
            plot.right() - plot.width() * static_cast<double>(point.msBeforeEnd) /
                               static_cast<double>(chart.spanMs),
            plot.bottom() - plot.height() * std::clamp(*point.value, 0, maxValue) / maxValue);
        const bool nextHasValue = i + 1 < chart.points.size() && chart.points[i + 1].value;
        if (!inLine && !nextHasValue)
            painter.drawEllipse(at, 1.5, 1.5);
        if (inLine)
            path.lineTo(at);
        else
            path.moveTo(at);
        inLine = true;
    }
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}

}  // namespace

void paintLevelChart(QPainter& painter, const QRectF& area, const LevelChart& chart,
                     const ChartLook& look) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(look.font);
    const QFontMetricsF metrics(look.font, painter.device());
    const double scaleWidth = metrics.horizontalAdvance(QStringLiteral("100%")) + 4;
    const double half = metrics.height() / 2;
    const QRectF plot(area.left() + scaleWidth, area.top() + half, area.width() - scaleWidth - 1,
                      area.height() - 2 * half - 1);
    if (plot.width() <= 1 || plot.height() <= 1) {
        painter.restore();
        return;
    }
    painter.fillRect(plot, look.base);
    const int maxValue = chart.maxValue > 0 ? chart.maxValue : 100;
    paintScale(painter, plot, scaleWidth, maxValue, look, metrics);
    if (chart.spanMs > 0) {
        // A faint line every minute back from the newest point.
        QColor minuteLine = look.grid;
        minuteLine.setAlpha(64);
        painter.setPen(minuteLine);
        constexpr std::int64_t kMinuteMs = 60'000;
        for (std::int64_t ms = kMinuteMs; ms < chart.spanMs; ms += kMinuteMs) {
            const double x = plot.right() - plot.width() * static_cast<double>(ms) /
                                                static_cast<double>(chart.spanMs);
            painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        }
    }
    painter.setPen(look.grid);
    painter.drawRect(plot);
    if (chart.spanMs > 0)
        paintLine(painter, plot, chart, maxValue);
    painter.restore();
}

std::string levelChartPng(const LevelChart& chart) {
    QImage image(1000, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(18);
        paintLevelChart(painter, QRectF(0, 0, image.width(), image.height()), chart,
                        {Qt::white, Qt::black, QColor(160, 160, 160), font});
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toStdString();
}

}  // namespace zelar::ui
