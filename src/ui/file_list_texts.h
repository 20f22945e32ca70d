#pragma once

#include <QFileDialog>
#include <QIdentityProxyModel>

namespace zelar::ui {

// The file dialogs' list as the program's language writes it: sizes, folder types and dates in
// the program's locale, whatever the system's. Qt's file system model takes sizes and dates
// from the system's locale, and finds no translation of the folder type.
class FileListTexts : public QIdentityProxyModel {
  public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override;
};

// Widens the dialog's date column to show a date and time whole, and its type column to show
// the longest type of each folder read.
void showColumnsWhole(QFileDialog& dialog);

}  // namespace zelar::ui
