#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zelar::cli {

// The settings writes (V16 lines) sent on the modem's link, and whether the modem answered the
// last one, so that an interrupted restore or defaults can say how far it got: the modem then
// holds a mix of old and new sections.
class WriteLog {
  public:
    // Every line sent; only V16 writes are kept.
    void sent(const std::string& bytes);
    // Every reply read.
    void received(const std::string& bytes);

    // Empty when nothing was written; otherwise one line naming the sections the modem took
    // and the one under way, "written: user 1, user 2; under way: user 3".
    std::string summary() const;

  private:
    std::vector<std::uint16_t> addresses_;
    std::string reply_;  // what came since the last write
    bool answered_ = false;
};

// The section a write at `address` fills, as "user 3" or "SIM 1 access point".
std::string writtenSectionName(std::uint16_t address);

// The pages of a settings file whose values differ between its bytes `before` and `after`, in
// the window's order, as "Пользователи #1, Настройка GPRS"; empty when none does; "the whole
// file" when either side is no settings file.
std::string changedFilePages(const std::string& before, const std::string& after);

}  // namespace zelar::cli
