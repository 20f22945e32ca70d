#pragma once

#include <QWidget>

#include "forms/controls.h"

namespace zelar::ui {

// Shows a LevelChart in the window's colours, painted as the report's picture is
// (`paintLevelChart`).
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

  private:
    LevelChart chart_;
};

}  // namespace zelar::ui
