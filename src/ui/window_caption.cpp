#include "ui/window_caption.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <algorithm>

namespace zelar::ui {

namespace {

// The title bar's icon, its buttons (minimise, maximise, close) and the space around them, as
// the usual window managers draw them; more than needed rather than a cut caption.
constexpr int kTitleBarExtras = 160;

}  // namespace

int widthForCaption(const QString& caption) {
    if (caption.trimmed().isEmpty())
        return 0;
    // Title bars mostly set their captions in bold.
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(caption) + kTitleBarExtras;
}

QString shownCaption(const std::string& caption) {
    return caption.empty() ? QStringLiteral(" ") : QString::fromStdString(caption);
}

void widenForCaption(QWidget& window) {
    // A minimum width of its own would keep the window's layout from setting its minimum size.
    const int width = widthForCaption(window.windowTitle());
    if (window.width() < width)
        window.resize(width, window.height());
}

void widenForCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    const int width = widthForCaption(box.windowTitle());
    if (grid == nullptr || width == 0)
        return;
    const QMargins margins = grid->contentsMargins();
    grid->addItem(new QSpacerItem(std::max(0, width - margins.left() - margins.right()), 0),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace zelar::ui
