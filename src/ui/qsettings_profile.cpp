#include "ui/qsettings_profile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace zelar::ui {

namespace {

QString keyPath(const std::string& section, const std::string& key) {
    return QString::fromStdString(section) + '/' + QString::fromStdString(key);
}

}  // namespace

QSettingsProfile::QSettingsProfile(QString filePath) : filePath_(std::move(filePath)) {}

int QSettingsProfile::readInt(const std::string& section, const std::string& key,
                              int defaultValue) {
    const QSettings settings(filePath_, QSettings::IniFormat);
    const QVariant value = settings.value(keyPath(section, key));
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : defaultValue;
}

void QSettingsProfile::writeInt(const std::string& section, const std::string& key, int value) {
    QSettings settings(filePath_, QSettings::IniFormat);
    settings.setValue(keyPath(section, key), value);
    settings.sync();
}

std::string QSettingsProfile::readText(const std::string& section, const std::string& key,
                                       const std::string& defaultValue) {
    const QSettings settings(filePath_, QSettings::IniFormat);
    const QVariant value = settings.value(keyPath(section, key));
    return value.isValid() ? value.toString().toStdString() : defaultValue;
}

void QSettingsProfile::writeText(const std::string& section, const std::string& key,
                                 const std::string& value) {
    QSettings settings(filePath_, QSettings::IniFormat);
    settings.setValue(keyPath(section, key), QString::fromStdString(value));
    settings.sync();
}

bool QSettingsProfile::createFolder() {
    return QDir().mkpath(QFileInfo(filePath_).absolutePath());
}

}  // namespace zelar::ui
