#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/dictionary_file.h"

namespace zelar {

// One line of a dictionary file as the upload sends it: a record and its place in the flash,
// or, in an RPI+ file, a line that holds no record (it still counts in the progress).
struct UploadLine {
    std::optional<FlashPlace> place;
    int code = 0;
    DictionaryRecord record;
};

// A whole dictionary file checked before anything goes to the modem, so that a bad line never
// leaves the flash holding part of one dictionary and part of another. `error` is the message
// that refuses the file, empty when the file will do.
struct CheckedDictionary {
    DictionaryKind kind = DictionaryKind::Protocol0;
    std::vector<UploadLine> lines;
    std::string error;
};
CheckedDictionary checkDictionaryFile(std::string_view fileBytes);

}  // namespace zelar
