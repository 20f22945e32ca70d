#pragma once

#include <QWidget>

#include "forms/controls.h"

namespace zelar::ui {

// Paints a LevelChart: the values as a green line over the chart's span, the newest at the
// right edge, a gap where a point has no value, and a scale from 0 to the chart's maximum.
// Where the window scrolls, the chart fits the part of it in view, so that the newest value is
// seen without scrolling.
// It is painted as the report's picture is (`paintLevelChart`).
class LevelChartWidget : public QWidget {
    Q_OBJECT
  public:
    explicit LevelChartWidget(QWidget* parent = nullptr);

    // Repaints only when the chart changed.
    void setChart(const LevelChart& chart);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    // The columns of the widget in view: all of them unless a scroll area shows a part.
    QRect shownPart() const;

    LevelChart chart_;
};

}  // namespace zelar::ui
