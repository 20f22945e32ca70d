#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace zelar::ui {

// A check that keeps the focus in a field when the user leaves it keeps the user where he was,
// whichever way he tried to leave: the mouse press that moved the focus to another control
// (a node of the tree, a button, a list) does not reach it, nor does an Alt letter act on a
// control the focus could not reach.
class LeaveGuard : public QObject {
  public:
    LeaveGuard();
    ~LeaveGuard() override;
    LeaveGuard(const LeaveGuard&) = delete;
    LeaveGuard& operator=(const LeaveGuard&) = delete;

    // The focus was on its way to `target` and a check kept it where it was. Holds until the
    // event that moved it is done.
    void refused(QWidget& target);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> refused_;
    QPointer<QWidget> pressed_;  // its press was held back, so is its release
};

}  // namespace zelar::ui
