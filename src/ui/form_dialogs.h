#pragma once

#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <functional>

#include "ui/screen_fit.h"
#include "ui_form_archive.h"
#include "ui_form_init.h"
#include "ui_form_setup.h"
#include "ui_form_ussd.h"

namespace zelar::ui {

// A window made from its form file; shown modally over the main window.
template <class Form>
class FormDialog : public QDialog {
  public:
    explicit FormDialog(QWidget* parent) : QDialog(parent) {
        form.setupUi(this);
        // Sized now, so that it can be centred over the main window before it is first shown.
        if (!testAttribute(Qt::WA_Resized))
            adjustSize();
    }

    Form form;

    // Puts the controls in a scroll area, so that on a screen too small for the window they
    // scroll (see QtDialogs::showModal).
    void scrollContents() {
        auto* contents = new QWidget;
        contents->setLayout(layout());  // takes the form's layout and its controls with it
        auto* outer = new QVBoxLayout(this);
        outer->setContentsMargins({});
        outer->addWidget(new ContentsArea(contents));
    }

    // Asked before the window closes (its close button or Escape); false keeps it open.
    std::function<bool()> canClose;
    // Whether an operation runs: Enter then clicks no default button. The focused control may
    // be one the operation disabled, and Enter would start something the user never chose.
    std::function<bool()> operationRuns;

    void reject() override {
        if (canClose && !canClose())
            return;
        QDialog::reject();
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if (enter && operationRuns && operationRuns()) {
            event->accept();
            return;
        }
        QDialog::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (canClose && !canClose()) {
            event->ignore();
            return;
        }
        QDialog::closeEvent(event);
    }
};

using SetupWindow = FormDialog<Ui::TformSetup>;      // the service window
using UssdWindow = FormDialog<Ui::TFormUSSD>;        // the operator preset dialog
using LogWindow = FormDialog<Ui::TFormInit>;         // the log window
using ArchiveWindow = FormDialog<Ui::TformArchive>;  // "Архив модемов"

}  // namespace zelar::ui
