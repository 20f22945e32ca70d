#include "ui/qt_dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLayout>
#include <QMessageBox>
#include <QRegularExpression>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/shell/key_chords.h"
#include "ui/file_filters.h"
#include "ui/file_list_texts.h"
#include "ui/screen_fit.h"
#include "ui/window_caption.h"

namespace zelar::ui {

namespace {

QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQt(MessageButtons buttons) {
    switch (buttons) {
        case MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MessageButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MessageButtons::Ok:
            break;
    }
    return QMessageBox::Ok;
}

// Closing the box with Escape or the title bar gives its "no" answer.
MessageResult fromQt(int button, MessageButtons buttons) {
    switch (button) {
        case QMessageBox::Ok:
            return MessageResult::Ok;
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        case QMessageBox::Retry:
            return MessageResult::Retry;
        case QMessageBox::Cancel:
            return MessageResult::Cancel;
        default:
            break;
    }
    switch (buttons) {
        case MessageButtons::YesNo:
            return MessageResult::No;
        case MessageButtons::Ok:
            return MessageResult::Ok;
        case MessageButtons::OkCancel:
        case MessageButtons::RetryCancel:
        case MessageButtons::YesNoCancel:
            break;
    }
    return MessageResult::Cancel;
}

std::optional<std::string> runFileDialog(QWidget* parent, QFileDialog::AcceptMode mode,
                                         const std::string& filter,
                                         const std::string& defaultExtension,
                                         const std::string& fileName) {
    QFileDialog dialog(parent);
    // Qt's own dialog, which speaks the program's language; a system's dialog speaks the
    // system's.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new FileListTexts(&dialog));
    showColumnsWhole(dialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilters(toNameFilters(filter));
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    // A name typed without its extension takes the one of the type picked in the list.
    if (mode == QFileDialog::AcceptSave) {
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
                static const QRegularExpression pattern(QStringLiteral("\\*(\\.\\w+)\\)?$"));
                const QRegularExpressionMatch match = pattern.match(filter);
                if (match.hasMatch())
                    dialog.setDefaultSuffix(match.captured(1));
            });
    }
    if (!fileName.empty())
        dialog.selectFile(QString::fromStdString(fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

QMargins framesOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inside = window.geometry();
    return {inside.left() - frame.left(), inside.top() - frame.top(),
            frame.right() - inside.right(), frame.bottom() - inside.bottom()};
}

// The frame the window manager puts round a window is known once the window has been shown;
// until then the main window's frame stands in for it.
QMargins frameMargins(const QWidget& window, const QWidget& main) {
    const QMargins own = framesOf(window);
    return own.isNull() ? framesOf(main) : own;
}

}  // namespace

QtDialogs::QtDialogs(QWidget& mainWindow) : main_(&mainWindow) {}

void QtDialogs::addWindow(WindowId id, QWidget& window) {
    windows_[id] = &window;
}

void QtDialogs::setWindowEvents(WindowId id, std::function<void()> shown,
                                std::function<void()> closed) {
    events_[id] = {std::move(shown), std::move(closed)};
}

void QtDialogs::beforeShow() const {
    if (beforeShow_)
        beforeShow_();
}

MessageResult QtDialogs::messageBox(const std::string& text, const std::string& caption,
                                    MessageIcon icon, MessageButtons buttons) {
    beforeShow();
    QMessageBox box(toQt(icon), shownCaption(caption), QString::fromStdString(text), toQt(buttons),
                    main_);
    widenForCaption(box);
    return fromQt(box.exec(), buttons);
}

std::optional<std::string> QtDialogs::openFileName(const std::string& filter,
                                                   const std::string& fileName) {
    beforeShow();
    return runFileDialog(main_, QFileDialog::AcceptOpen, filter, {}, fileName);
}

std::optional<std::string> QtDialogs::saveFileName(const std::string& filter,
                                                   const std::string& defaultExtension,
                                                   const std::string& fileName) {
    beforeShow();
    return runFileDialog(main_, QFileDialog::AcceptSave, filter, defaultExtension, fileName);
}

void QtDialogs::showTable(const std::string& caption, const std::vector<std::string>& headers,
                          const std::vector<std::vector<std::string>>& rows) {
    beforeShow();
    QDialog dialog(main_);
    dialog.setWindowTitle(shownCaption(caption));
    auto* table =
        new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(headers.size()), &dialog);
    QStringList labels;
    for (const std::string& header : headers)
        labels << QString::fromStdString(header);
    table->setHorizontalHeaderLabels(labels);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    for (int r = 0; r < table->rowCount(); ++r) {
        const auto& row = rows[static_cast<std::size_t>(r)];
        for (int c = 0; c < table->columnCount() && c < static_cast<int>(row.size()); ++c)
            table->setItem(
                r, c,
                new QTableWidgetItem(QString::fromStdString(row[static_cast<std::size_t>(c)])));
    }
    table->resizeColumnsToContents();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(table);
    layout->addWidget(buttons);
    // The whole table where the screen has room.
    const int width = table->verticalHeader()->width() + table->horizontalHeader()->length() +
                      2 * table->frameWidth() + 40;
    dialog.resize(std::min(width, 1000), std::min(120 + 30 * table->rowCount(), 600));
    dialog.exec();
}

void QtDialogs::showModal(WindowId id) {
    const auto it = windows_.find(id);
    if (it == windows_.end() || !it->second || !main_)
        return;
    const auto [shown, closed] = events_[id];
    if (shown)
        shown();
    beforeShow();
    QWidget& window = *it->second;
    // Sized after the models have shown or hidden its rows, and with the frame it will have,
    // so that it stands centred as it will be shown.
    // A hidden window's layouts keep the sizes its controls had before the models changed their
    // texts; they are asked afresh.
    for (QWidget* child : window.findChildren<QWidget*>())
        child->updateGeometry();
    auto* area = window.findChild<ContentsArea*>(QString(), Qt::FindDirectChildrenOnly);
    if (area != nullptr) {
        // Fitted afresh to what it shows now.
        if (QLayout* contents = area->widget()->layout())
            contents->activate();
        area->updateGeometry();
        window.setMinimumSize(0, 0);
        window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    window.adjustSize();
    widenForCaption(window);
    const QMargins margins = frameMargins(window, *main_);
    const QScreen* screen = main_->screen();
    if (area != nullptr && screen != nullptr)
        // Its whole size, which adjustSize() keeps within two thirds of the screen.
        fitInto(window, *area, window.sizeHint().expandedTo({window.width(), 0}),
                roomOn(*screen, margins));
    const QRect frame = main_->frameGeometry();
    const QSize size = window.size().grownBy(margins);
    const Rect place = centreOver({frame.left(), frame.top(), frame.width(), frame.height()},
                                  size.width(), size.height());
    // Centred over the main window, but never beyond the screen's free area.
    const QPoint at = screen != nullptr ? keptWithin({QPoint(place.left, place.top), size},
                                                     screen->availableGeometry())
                                        : QPoint(place.left, place.top);
    window.move(at);
    if (auto* dialog = qobject_cast<QDialog*>(&window)) {
        dialog->exec();
        if (closed)
            closed();
    } else {
        window.setWindowModality(Qt::ApplicationModal);
        window.show();
    }
}

void QtDialogs::closeModal(WindowId id) {
    const auto it = windows_.find(id);
    if (it == windows_.end() || !it->second)
        return;
    if (auto* dialog = qobject_cast<QDialog*>(it->second.data()))
        dialog->done(QDialog::Accepted);
    else
        it->second->close();
}

}  // namespace zelar::ui
