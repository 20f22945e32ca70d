#include "ui/file_list_texts.h"

#include <QAbstractProxyModel>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>
#include <algorithm>

namespace zelar::ui {

namespace {

// The columns of Qt's file system model.
enum Column { kName, kSize, kType, kDate };

constexpr qint64 kKilobyte = 1024;
// Room beside a cell's text: the view's own margins and the header's sort arrow.
constexpr int kCellMargins = 24;

QString sizeText(qint64 bytes) {
    const QLocale locale;
    // Below a kilobyte the unit of the locale's data is a plural form of its own ("байты").
    if (bytes < kKilobyte)
        return QStringLiteral("%1 байт").arg(locale.toString(bytes));
    return locale.formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

}  // namespace

QVariant FileListTexts::data(const QModelIndex& index, int role) const {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || files == nullptr)
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    switch (index.column()) {
        case kSize:
            if (files->isDir(source))
                break;
            return sizeText(files->size(source));
        case kType:
            // Qt's own translation has the word, under its file dialog.
            if (files->isDir(source))
                return QCoreApplication::translate("QFileDialog", "Folder");
            break;
        case kDate:
            return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        default:
            break;
    }
    return QIdentityProxyModel::data(index, role);
}

void showColumnsWhole(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (view == nullptr)
        return;
    const QString widest =
        QLocale().toString(QDateTime({2000, 12, 28}, {20, 58}), QLocale::ShortFormat);
    QHeaderView& header = *view->header();
    const int width = view->fontMetrics().horizontalAdvance(widest) + kCellMargins;
    header.resizeSection(kDate, std::max(header.sectionSize(kDate), width));
    // The types ("Текстовый документ") are known once a folder is read; the column grows to
    // its longest, never shrinks under what the user made it.
    const auto* proxy = qobject_cast<const QAbstractProxyModel*>(view->model());
    const auto* files =
        proxy != nullptr ? qobject_cast<const QFileSystemModel*>(proxy->sourceModel()) : nullptr;
    if (files == nullptr)
        return;
    QObject::connect(files, &QFileSystemModel::directoryLoaded, view, [view] {
        QHeaderView& columns = *view->header();
        columns.resizeSection(
            kType, std::max(columns.sectionSize(kType),
                            static_cast<const QAbstractItemView*>(view)->sizeHintForColumn(kType) +
                                kCellMargins));
    });
}

}  // namespace zelar::ui
