#pragma once

#include <string>

namespace zelar::cli {

// A command's files are checked before the port is opened, so that a wrong name costs no
// exchange with the modem and no download is thrown away at its end. Each prints
// "zelar-cli: <message naming the file and the reason>" and gives false when the file will
// not do.
bool inputFileReady(const std::string& path);
bool outputFileReady(const std::string& path);

}  // namespace zelar::cli
