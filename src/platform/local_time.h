#pragma once

#include <functional>
#include <string>

namespace zelar {

// The local date and time as text. The window's front end gives the user's locale format;
// this one, day.month.year hours:minutes:seconds, serves where no front end sets its own.
std::string numericLocalTime();
// The local date and time as a Russian document writes it, whatever the locale: 08.12.2026 07:15.
std::string russianLocalTime();
// The local time of day, hours:minutes:seconds.
std::string localClockTime();

using LocalTimeText = std::function<std::string()>;

}  // namespace zelar
