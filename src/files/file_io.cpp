#include "files/file_io.h"

#include "platform/regular_files.h"

namespace zelar {

namespace {

std::string cannot(const char* what, const std::string& path, const std::string& reason) {
    return reason.empty() ? reason : std::string(what) + " \"" + path + "\": " + reason;
}

}  // namespace

std::optional<std::string> readFileUpTo(const std::string& path, std::size_t limit) {
    return readRegularFile(path, limit).bytes;
}

std::string writeFileReplacing(const std::string& path, const std::string& bytes) {
    return cannot("Не могу записать файл", path, replaceFile(path, bytes));
}

std::string inputFileProblem(const std::string& path) {
    return cannot("Не могу открыть файл", path, readRegularFile(path, 0).error);
}

std::string outputFileProblem(const std::string& path) {
    return cannot("Не могу записать файл", path, replaceFileProblem(path));
}

std::string appendedFileProblem(const std::string& path) {
    return cannot("Не могу записать файл", path, appendFileProblem(path));
}

}  // namespace zelar
