#pragma once

#include <QMargins>
#include <QRect>
#include <QScrollArea>

class QScreen;

namespace zelar::ui {

// A window's controls in a scroll area: shown whole where the screen has room, scrolled where
// it has not. Its size hint is the contents' own, not a few lines of text as a scroll area's is.
class ContentsArea : public QScrollArea {
  public:
    explicit ContentsArea(QWidget* contents);
    QSize sizeHint() const override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The room a window with this frame has on the screen's free area. At a fractional scaling the
// frame's edges are rounded to whole pixels both ways; a pixel is kept free on each side, so
// that the frame never runs past the screen.
QSize roomOn(const QScreen& screen, const QMargins& frame);

// Gives the window its whole size, fixed, where that fits the room (a window with a layout of
// its own keeps following its contents, as rows are shown and hidden); else as much of the
// room as it needs with its contents scrolling, and it may grow back to its whole size.
void fitInto(QWidget& window, const ContentsArea& area, QSize whole, QSize room);

// The place nearest `placed` with the whole rectangle inside `available`; a rectangle larger
// than that keeps its top left corner, where the title bar and the first controls are.
QPoint keptWithin(const QRect& placed, const QRect& available);

}  // namespace zelar::ui
