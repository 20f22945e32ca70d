#include "archive_choice.h"

#include "app/archive/archive_setting.h"
#include "ui/config_paths.h"
#include "ui/qsettings_profile.h"

namespace zelar::cli {

namespace {

ArchiveSetting windowSetting() {
    const QString ini = ui::modemIniPath();
    if (ini.isEmpty())
        return {};
    ui::QSettingsProfile profile(ini);
    return readArchiveSetting(profile);
}

}  // namespace

std::string archiveFileFor(const CliOptions& options) {
    if (!options.archiveFile.empty())
        return options.archiveFile;
    return archivePath(windowSetting(), ui::configFolder().toStdString());
}

bool archiveRecording(const CliOptions& options) {
    return options.archive || !options.archiveFile.empty() || windowSetting().enabled;
}

}  // namespace zelar::cli
