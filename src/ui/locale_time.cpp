#include "ui/locale_time.h"

#include <QDateTime>
#include <QLocale>

namespace zelar::ui {

std::string localeTimeText() {
    return QLocale::system()
        .toString(QDateTime::currentDateTime(), QLocale::ShortFormat)
        .toStdString();
}

}  // namespace zelar::ui
