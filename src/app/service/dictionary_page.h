#pragma once

#include "app/core/app.h"

namespace zelar {

// "Записать словарь": a dictionary file into the modem's flash. True when all of it was written.
bool btnWriteDictClick(App& app);
// "Считать словарь": the protocol-0 dictionary into a file. True when the file was written.
bool BtnReadDictClick(App& app);

}  // namespace zelar
