#pragma once

#include <QString>

#include "platform/profile.h"

namespace zelar::ui {

// Integer keys of an INI file through QSettings. Every call opens the file afresh and every
// write is synced to disk before it returns: nothing is cached between calls.
class QSettingsProfile : public Profile {
  public:
    explicit QSettingsProfile(QString filePath);

    int readInt(const std::string& section, const std::string& key, int defaultValue) override;
    void writeInt(const std::string& section, const std::string& key, int value) override;
    bool createFolder() override;

    const QString& filePath() const { return filePath_; }

  private:
    QString filePath_;
};

}  // namespace zelar::ui
