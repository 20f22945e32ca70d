#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <string>

#include "forms/controls.h"

class QPainter;

namespace zelar::ui {

// The colours and the font a chart is painted with: the window's palette, or paper's.
struct ChartLook {
    QColor base;  // the plot's background
    QColor text;  // the scale's figures
    QColor grid;  // the frame and the lines
    QFont font;
};

// Paints a LevelChart into `area`: the values as a green line over the chart's span, the newest
// at the right edge, a gap where a point has no value, and a scale from 0 to the chart's maximum.
// The window's chart and the report's picture are both painted here.
void paintLevelChart(QPainter& painter, const QRectF& area, const LevelChart& chart,
                     const ChartLook& look);

// The chart as a PNG picture on white, for the report's HTML page.
std::string levelChartPng(const LevelChart& chart);

}  // namespace zelar::ui
