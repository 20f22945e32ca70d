#include "ui/level_chart_widget.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <QScrollBar>

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
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    paintLevelChart(painter, shownPart(), chart_,
                    {palette().color(QPalette::Base), palette().color(group, QPalette::WindowText),
                     palette().color(QPalette::Mid), font()});
}

}  // namespace zelar::ui
