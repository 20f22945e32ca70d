#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

#include "ui/qt_printers.h"
#include "ui/window_fixture.h"

// Qt's file dialog as the program shows it: Russian throughout, whatever the system's locale.
namespace zelar::ui {
namespace {

class FileDialog : public test::Window {
  protected:
    bool typeWhole = false;
    // The dialog's list of `folder`, row by row, its cells joined by " | ", the header first;
    // and every word its labels, buttons and tips show.
    void look(const QString& folder, QStringList& rows, QStringList& words) {
        constexpr int kReadTicks = 50;
        int waited = 0;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            const auto* view = dialog->findChild<QTreeView*>("treeView");
            const QAbstractItemModel& model = *view->model();
            const QModelIndex root = view->rootIndex();
            if (model.rowCount(root) < 2)
                return;  // still reading the folder
            // The type column follows the folder once it is read.
            typeWhole = view->header()->sectionSize(2) >
                        static_cast<const QAbstractItemView*>(view)->sizeHintForColumn(2);
            if (!typeWhole && ++waited < kReadTicks)
                return;
            QStringList header;
            for (int c = 0; c < model.columnCount(root); ++c)
                header << model.headerData(c, Qt::Horizontal).toString();
            rows << header.join(" | ");
            for (int r = 0; r < model.rowCount(root); ++r) {
                QStringList cells;
                for (int c = 0; c < model.columnCount(root); ++c)
                    cells << model.index(r, c, root).data().toString();
                rows << cells.join(" | ");
            }
            for (const QWidget* w : dialog->findChildren<QWidget*>()) {
                if (const auto* label = qobject_cast<const QLabel*>(w))
                    words << label->text();
                if (const auto* button = qobject_cast<const QAbstractButton*>(w))
                    words << button->text();
                words << w->toolTip();
            }
            dialog->reject();
        });
        closer.start(20);
        program->app().services.dialogs.openFileName("Файлы настроек|*.nst",
                                                     (folder + "/").toStdString());
    }
};

TEST_F(FileDialog, SpeaksRussianWithRussianSizesAndDates) {
    const QString folder = dir.path() + "/files";
    QDir().mkpath(folder + "/Прошивки");
    QFile file(folder + "/settings.nst");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(814, 'x'));
    file.close();
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    const auto shortTime = [&](const QString& path) {
        return russian.toString(QFileInfo(path).lastModified(), QLocale::ShortFormat);
    };

    QStringList rows;
    QStringList words;
    look(folder, rows, words);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_TRUE(typeWhole);  // "Текстовый документ" whole
    EXPECT_EQ(rows[0], "Имя | Размер | Тип | Дата изменения");
    std::sort(rows.begin() + 1, rows.end());  // as read, not as sorted on the screen
    EXPECT_EQ(rows[1],
              "settings.nst | 814 байт | Текстовый документ | " + shortTime(file.fileName()));
    EXPECT_EQ(rows[2], "Прошивки |  | Папка | " + shortTime(folder + "/Прошивки"));
    // Dates the Russian way: day, month, year.
    EXPECT_TRUE(rows[2].contains(QRegularExpression(R"(\d\d\.\d\d\.\d{4} )")))
        << rows[2].toStdString();

    const QRegularExpression latin("[A-Za-z]{2,}");
    for (const QString& word : words) {
        if (!word.contains(dir.path())) {
            EXPECT_FALSE(word.contains(latin)) << word.toStdString();
        }
    }
}

}  // namespace
}  // namespace zelar::ui
