#include "app/service/dictionary_page.h"

#include "app/core/exchange_runner.h"
#include "files/dictionary_check.h"
#include "files/dictionary_transfer.h"
#include "files/file_io.h"

namespace zelar {

namespace {

constexpr const char* kFilter = "*.txt|*.txt";
// Far above any dictionary (2048 lines of a few dozen bytes); a larger file is not one.
constexpr std::size_t kLargestFile = 4 << 20;

void message(App& app, const std::string& text, const char* caption, MessageIcon icon) {
    app.services.dialogs.messageBox(text, caption, icon, MessageButtons::Ok);
}

// The file's bytes, or nothing with the message that refuses it.
std::optional<std::string> readDictionary(const std::string& path, std::string& problem) {
    auto bytes = readFileUpTo(path, kLargestFile);
    if (!bytes)
        problem = "Не могу открыть файл";
    else if (bytes->size() > kLargestFile)
        problem = "Неверный формат файла";
    else
        return bytes;
    return std::nullopt;
}

std::string codeList(const std::vector<int>& codes) {
    std::string list;
    for (int code : codes)
        list += (list.empty() ? "" : ", ") + std::to_string(code);
    return list;
}

}  // namespace

bool btnWriteDictClick(App& app) {
    TformSetup& s = app.setup;
    // Neither transfer may start while the other runs, nor any other use of the link.
    ExchangeRunner run(app, {&s.btnWriteDict, &s.BtnReadDict});
    if (!run.held())
        return false;
    const auto path = app.services.dialogs.openFileName(kFilter);
    if (!path)
        return false;
    std::string problem;
    const auto bytes = readDictionary(*path, problem);
    if (!bytes) {
        message(app, problem, "Модем", MessageIcon::Error);
        return false;
    }
    DictionaryTransferHooks hooks{
        app.link, app.services.dialogs, [&run] { return run.open(); },
        [&s](const std::string& text) { s.LabelCountMess.caption = text; },
        app.main.cbVerifyWrites.checked};
    if (!uploadDictionary(hooks, *bytes))
        return false;
    archiveVisit(app, archive::VisitOperation::DictionaryUploaded);
    return true;
}

std::string dictionaryFileProblem(const std::string& path) {
    std::string problem;
    if (const auto bytes = readDictionary(path, problem))
        problem = checkDictionaryFile(*bytes).error;
    return problem;
}

bool BtnReadDictClick(App& app) {
    TformSetup& s = app.setup;
    ExchangeRunner run(app, {&s.btnWriteDict, &s.BtnReadDict});
    if (!run.held())
        return false;
    const auto path = app.services.dialogs.saveFileName(kFilter, "txt");
    if (!path)
        return false;
    // Known before the long download rather than after it, when its data would be lost.
    if (const std::string problem = outputFileProblem(*path); !problem.empty()) {
        message(app, problem, "Ошибка", MessageIcon::Error);
        return false;
    }
    DictionaryTransferHooks hooks{
        app.link, app.services.dialogs, [&run] { return run.open(); },
        [&s](const std::string& text) { s.LabCountMessRead.caption = text; }};
    const auto dictionary = downloadDictionary(hooks);
    if (!dictionary)
        return false;
    if (const std::string error = writeFileReplacing(*path, dictionary->fileBytes);
        !error.empty()) {
        message(app, error, "Ошибка", MessageIcon::Error);
        return false;
    }
    message(app, "Словарь успешно считан.", "Модем", MessageIcon::None);
    run.close();
    if (!dictionary->changedCodes.empty()) {
        message(app,
                "В текстах сообщений с кодами " + codeList(dictionary->changedCodes) +
                    " знаки табуляции и перевода строки записаны пробелами",
                "Модем", MessageIcon::Information);
    }
    return true;
}

}  // namespace zelar
