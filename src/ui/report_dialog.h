#pragma once

#include <QDialog>
#include <optional>

#include "app/report/handover_report.h"

class QCheckBox;
class QLineEdit;

namespace zelar::ui {

// "Отчёт о настройке": the installer's name, the site and whether the passwords are shown;
// the file is asked for next, by the file dialog.
class ReportDialog : public QDialog {
  public:
    explicit ReportDialog(QWidget* parent);

    // What was given, when the dialog was accepted; the installer and site of `offered` are
    // there to begin with.
    static std::optional<HandoverRequest> ask(QWidget* parent, const HandoverRequest& offered = {});

  private:
    QLineEdit* installer_;
    QLineEdit* site_;
    QCheckBox* secrets_;
};

}  // namespace zelar::ui
