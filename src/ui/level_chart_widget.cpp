#include "ui/level_chart_widget.h"

#include <QPainter>

#include "ui/level_chart_painter.h"

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
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    paintLevelChart(painter, rect(), chart_,
                    {palette().color(QPalette::Base), palette().color(group, QPalette::WindowText),
                     palette().color(QPalette::Mid), font()});
}

}  // namespace zelar::ui
