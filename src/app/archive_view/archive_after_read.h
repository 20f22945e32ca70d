#pragma once

#include "app/core/app.h"

namespace zelar {

inline constexpr const char* kTextChangesCaption = "Изменения с прошлого визита";
inline constexpr const char* kTextFirmwareChangesCaption = "Что изменила новая прошивка";

// After a read of the modem: what the archive knows of it under the "Модем" group. The line
// "В архиве с …, последний визит …: изменено N полей" with "Сравнить с прошлым…" when fields
// changed; after firmware programming "Настройки сохранились" or what the new firmware changed,
// with "Вернуть как было". Nothing for a modem the archive does not know.
void showArchiveAfterRead(App& app);

// "Сравнить с прошлым…": the differences behind the line, as the compare dialog shows them.
bool BtnArchiveChangesClick(App& app);

// "Вернуть как было": the settings before the firmware was programmed, on the pages as a
// settings file, written into the modem as "Записать файл в модем…" writes one.
bool BtnArchiveRevertClick(App& app);

}  // namespace zelar
