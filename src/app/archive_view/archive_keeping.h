#pragma once

#include <string>

#include "app/core/app.h"

namespace zelar {

class VisitRecorder;

inline constexpr const char* kTextArchiveOff =
    "Архив модемов не ведётся. Включите «Вести архив модемов» в меню «Файл»";

// At start-up: "Вести архив модемов" as Modem.ini remembers it, and the archive kept when on.
// `profile` is null when Modem.ini could not be made: the archive is off then.
void startArchiveKeeping(App& app, Profile* profile, const std::string& configFolder);

// "Вести архив модемов" clicked (the model already shows the new mark): remembered at once, so
// that zelar-cli follows, and the archive kept from the next operation on, or no longer.
bool MenuKeepArchiveClick(App& app);

// The archive the window keeps; null while the mark is off.
VisitRecorder* keptArchive(App& app);

// "Архив не записан: …" under the "Модем" group, where it stays in view; the operation on the
// modem goes on.
void showArchiveFailure(App& app, const std::string& reason);

}  // namespace zelar
