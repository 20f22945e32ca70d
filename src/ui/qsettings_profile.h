#pragma once

#include <QString>

#include "platform/profile.h"

namespace zelar::ui {

// Integer and text keys of an INI file through QSettings. Every write is synced to disk before it
// returns; reads see what other programs wrote (QSettings reads a file again once its size or
// time has changed).
class QSettingsProfile : public Profile {
  public:
    explicit QSettingsProfile(QString filePath);

    int readInt(const std::string& section, const std::string& key, int defaultValue) override;
    void writeInt(const std::string& section, const std::string& key, int value) override;
    std::string readText(const std::string& section, const std::string& key,
                         const std::string& defaultValue) override;
    void writeText(const std::string& section, const std::string& key,
                   const std::string& value) override;
    bool createFolder() override;

    const QString& filePath() const { return filePath_; }

  private:
    QString filePath_;
};

}  // namespace zelar::ui
