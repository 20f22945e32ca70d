#include "ui/level_chart_widget.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <algorithm>

namespace zelar::ui {

namespace {

bool samePoints(const LevelChart& a, const LevelChart& b) {
    if (a.spanMs != b.spanMs || a.maxValue != b.maxValue || a.points.size() != b.points.size())
        return false;
    for (std::size_t i = 0; i < a.points.size(); ++i) {
        if (a.points[i].msBeforeEnd != b.points[i].msBeforeEnd ||
            a.points[i].value != b.points[i].value)
            return false;
    }
    return true;
}

double yOf(const QRectF& plot, double value, int maxValue) {
    return plot.bottom() - plot.height() * value / maxValue;
}

// The scale: a line and a mark at every quarter, the marks in the painter's pen.
void drawScale(QPainter& painter, const QPalette& palette, const QFontMetrics& metrics,
               const QRectF& plot, int maxValue) {
    const int half = metrics.height() / 2;
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const double value = maxValue * quarter / 4.0;
        const double y = yOf(plot, value, maxValue);
        painter.drawText(QRectF(0, y - half, plot.left() - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(static_cast<int>(value)) + QLatin1Char('%'));
        QColor grid = palette.color(QPalette::Mid);
        if (quarter != 0 && quarter != 4)
            grid.setAlpha(96);
        painter.save();
        painter.setPen(grid);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.restore();
    }
}

// A faint line every minute back from the newest point.
void drawMinuteLines(QPainter& painter, const QPalette& palette, const QRectF& plot,
                     std::int64_t spanMs) {
    QColor minuteLine = palette.color(QPalette::Mid);
    minuteLine.setAlpha(64);
    painter.setPen(minuteLine);
    constexpr std::int64_t kMinuteMs = 60'000;
    for (std::int64_t ms = kMinuteMs; ms < spanMs; ms += kMinuteMs) {
        const double x =
            plot.right() - plot.width() * static_cast<double>(ms) / static_cast<double>(spanMs);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
}

// The line, broken at every point without a value; a value between two gaps is a dot.
void drawLevels(QPainter& painter, const QRectF& plot, const LevelChart& chart, int maxValue) {
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
        const QPointF at(plot.right() - plot.width() * static_cast<double>(point.msBeforeEnd) /
                                            static_cast<double>(chart.spanMs),
                         yOf(plot, std::clamp(*point.value, 0, maxValue), maxValue));
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

// The values' area: the part shown less the scale on its left and half a line above and below,
// where the scale's top and bottom labels reach.
QRectF plotArea(const QRect& shown, int scaleWidth, int half) {
    return QRectF(shown.left() + scaleWidth, shown.top() + half, shown.width() - scaleWidth - 1,
                  shown.height() - 2 * half - 1);
}

}  // namespace

LevelChartWidget::LevelChartWidget(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void LevelChartWidget::setChart(const LevelChart& chart) {
    if (samePoints(chart, chart_))
        return;
    chart_ = chart;
    update();
}

void LevelChartWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Scrolling moves what was painted; the part in view changed, so all of it is painted anew.
    for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) {
            QScrollBar* bar = area->horizontalScrollBar();
            connect(bar, &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update),
                    Qt::UniqueConnection);
            connect(bar, &QScrollBar::rangeChanged, this, qOverload<>(&QWidget::update),
                    Qt::UniqueConnection);
        }
    }
}

QRect LevelChartWidget::shownPart() const {
    const QRect seen = visibleRegion().boundingRect();
    if (seen.isEmpty())
        return rect();
    return QRect(seen.left(), 0, seen.width(), height());
}

QSize LevelChartWidget::sizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("100%")) * 8,
            fontMetrics().height() * 6};
}

QSize LevelChartWidget::minimumSizeHint() const {
    return {fontMetrics().horizontalAdvance(QStringLiteral("100%")) * 4,
            fontMetrics().height() * 4};
}

void LevelChartWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics metrics = fontMetrics();
    const int scaleWidth = metrics.horizontalAdvance(QStringLiteral("100%")) + 4;
    const int half = metrics.height() / 2;
    const QRectF plot = plotArea(shownPart(), scaleWidth, half);
    if (plot.width() <= 1 || plot.height() <= 1)
        return;

    painter.fillRect(plot, palette().color(QPalette::Base));
    const int maxValue = chart_.maxValue > 0 ? chart_.maxValue : 100;
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    drawScale(painter, palette(), metrics, plot, maxValue);
    if (chart_.spanMs <= 0) {
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(plot);
        return;
    }
    drawMinuteLines(painter, palette(), plot, chart_.spanMs);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(plot);
    drawLevels(painter, plot, chart_, maxValue);
}

}  // namespace zelar::ui
