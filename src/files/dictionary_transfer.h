#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/modem_link.h"
#include "platform/dialogs.h"

namespace zelar {

// What a dictionary transfer needs from the window around it.
struct DictionaryTransferHooks {
    TModemLink& link;
    Dialogs& dialogs;
    // Closes the link and opens it again on the current port; false when it cannot be opened.
    std::function<bool()> reopenLink;
    // The progress label's new text.
    std::function<void(const std::string&)> showProgress;
    // Each flash page written is loaded back and its records compared with what was sent.
    bool verify = false;
};

// Writes a dictionary file's records into the modem's flash, asking first which dictionary it
// is. Every message is shown here; true only when the whole file was written.
bool uploadDictionary(DictionaryTransferHooks& hooks, std::string_view fileBytes);

// The protocol-0 dictionary read out of the modem, as the file the upload takes back.
struct DownloadedDictionary {
    std::string fileBytes;
    // Codes whose text held a tab, CR or LF byte, written as a blank so the file stays readable.
    std::vector<int> changedCodes;
};
// Reads codes 0 to 767; on a failed exchange asks "Нет связи с модемом" (Retry/Cancel). Nothing
// when the user cancelled.
std::optional<DownloadedDictionary> downloadDictionary(DictionaryTransferHooks& hooks);

}  // namespace zelar
