#include "file_checks.h"

#include <iostream>

#include "files/file_io.h"

namespace zelar::cli {

namespace {

bool ready(const std::string& problem) {
    if (!problem.empty())
        std::cerr << "zelar-cli: " << problem << '\n';
    return problem.empty();
}

}  // namespace

bool inputFileReady(const std::string& path) {
    return ready(inputFileProblem(path));
}

bool outputFileReady(const std::string& path) {
    return ready(outputFileProblem(path));
}

}  // namespace zelar::cli
