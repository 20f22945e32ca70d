#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

namespace zelar::ui {

// Where the keyboard focus goes when the program takes a control away (disables or hides it):
// to the control's window itself, never to a neighbour, where one key could start something
// the user never chose. When the control is given back, the focus returns to it, unless the
// user has put the focus somewhere else meanwhile.
class FocusKeeper {
  public:
    void setEnabled(QWidget& widget, bool enabled);
    void setVisible(QWidget& widget, bool visible);
    // For controls that their holder disables or hides (a page of a page control): before the
    // control goes, and after it is back.
    void takeAway(QWidget& widget);
    void giveBack(QWidget& widget);

  private:
    struct Parked {
        QPointer<QWidget> window;
        QPointer<QWidget> control;
    };
    std::vector<Parked> parked_;
};

}  // namespace zelar::ui
