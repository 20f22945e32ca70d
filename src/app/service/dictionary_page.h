#pragma once

#include <string>

#include "app/core/app.h"

namespace zelar {

// "Записать словарь": a dictionary file into the modem's flash. True when all of it was written.
bool btnWriteDictClick(App& app);
// The message that refuses a dictionary file, read and checked whole as "Записать словарь" takes
// it, for a front end that checks the file before it reads the modem; empty when it will do.
std::string dictionaryFileProblem(const std::string& path);
// "Считать словарь": the protocol-0 dictionary into a file. True when the file was written.
bool BtnReadDictClick(App& app);

}  // namespace zelar
