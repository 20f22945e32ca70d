#pragma once

#include <QDialog>
#include <optional>

#include "app/report/handover_report.h"

class QCheckBox;
class QLineEdit;

namespace zelar::ui {

// "Отчёт о настройке": the installer's name, the site and whether the passwords are shown;
// the file is asked for next, by the file dialog. The fields start from what the caller gives
// (the name of the last report, or what was typed before a cancelled file dialog).
class ReportDialog : public QDialog {
  public:
    explicit ReportDialog(QWidget* parent);

    // What was given, when the dialog was accepted.
    static std::optional<HandoverRequest> ask(QWidget* parent, const HandoverRequest& given);

  private:
    QLineEdit* installer_;
    QLineEdit* site_;
    QCheckBox* secrets_;
};

}  // namespace zelar::ui
