#include "ui/report_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zelar::ui {

ReportDialog::ReportDialog(QWidget* parent)
    : QDialog(parent),
      installer_(new QLineEdit(this)),
      site_(new QLineEdit(this)),
      secrets_(new QCheckBox(QStringLiteral("&Показывать пароли, PIN и PUK"), this)) {
    setWindowTitle(QStringLiteral("Отчёт о настройке"));
    installer_->setObjectName(QStringLiteral("EditReportInstaller"));
    site_->setObjectName(QStringLiteral("EditReportSite"));
    secrets_->setObjectName(QStringLiteral("cbReportSecrets"));
    installer_->setMinimumWidth(fontMetrics().averageCharWidth() * 40);

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("&Монтажник:"), installer_);
    fields->addRow(QStringLiteral("&Объект:"), site_);
    fields->addRow(secrets_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->addButton(QStringLiteral("&Сохранить…"), QDialogButtonBox::AcceptRole)
        ->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(buttons);
}

std::optional<HandoverRequest> ReportDialog::ask(QWidget* parent, const HandoverRequest& offered) {
    ReportDialog dialog(parent);
    dialog.installer_->setText(QString::fromStdString(offered.installer));
    dialog.site_->setText(QString::fromStdString(offered.site));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    HandoverRequest request;
    request.installer = dialog.installer_->text().trimmed().toStdString();
    request.site = dialog.site_->text().trimmed().toStdString();
    request.withSecrets = dialog.secrets_->isChecked();
    return request;
}

}  // namespace zelar::ui
