#pragma once

#include <QMainWindow>
#include <functional>

#include "ui_diagnostics_page.h"
#include "ui_form_main.h"
#include "ui_gprs_page.h"
#include "ui_object_page.h"
#include "ui_sim_page.h"
#include "ui_user_page.h"
#include "ui_voice_call_page.h"

namespace zelar::ui {

// The main window `TformMain`: the shell from its form file with each page's form placed in
// its tab. It reports its first showing and its closing; what happens then is the handlers'.
class MainWindow : public QMainWindow {
  public:
    explicit MainWindow(QWidget* parent = nullptr);

    // Fixes the size to what the layout needs and centres the window on its screen. Where the
    // screen's free area is smaller, the window fills it and its contents scroll.
    void placeOnScreen();

    std::function<void()> onFirstShow;
    // Asked before the window closes; false keeps it open.
    std::function<bool()> canClose;
    std::function<void()> onClose;

  protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void followFrame();

    Ui::TformMain shell_;
    Ui::UserPage userPage_;
    Ui::SimPage simPage_;
    Ui::DiagnosticsPage diagnosticsPage_;
    Ui::GprsPage gprsPage_;
    Ui::ObjectPage objectPage_;
    Ui::VoiceCallPage voiceCallPage_;
    bool shown_ = false;
    QMargins placedWithFrame_;  // the window manager's frame when the window was placed
};

}  // namespace zelar::ui
