#include <charconv>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>

#include "archive/archive_merge.h"
#include "archive/archive_queries.h"
#include "archive_choice.h"
#include "commands.h"
#include "file_checks.h"
#include "files/file_io.h"
#include "platform/regular_files.h"

namespace zelar::cli {

namespace {

using namespace zelar::archive;

// What one archive verb needs beyond the options: its arguments after the verb's name.
struct ArchiveCall {
    const CliOptions& options;
    std::vector<std::string> args;
    std::string path;  // the archive's file
};

int archiveFailure(const std::string& text) {
    std::cerr << "zelar-cli: " << text << '\n';
    return 1;
}

std::unique_ptr<ArchiveStore> openArchive(const ArchiveCall& call, OpenMode mode) {
    return openSqliteArchive(call.path, mode);
}

// An entry number as written on the command line: 1 or more.
std::optional<int> entryNumber(const std::string& text) {
    int n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size() || n < 1)
        return std::nullopt;
    return n;
}

int listModems(const ArchiveCall& call) {
    if (call.args.size() > 1)
        return badArguments("archive list takes at most one TEXT");
    const auto modems =
        openArchive(call, OpenMode::Read)->modems(call.args.empty() ? "" : call.args[0]);
    if (call.options.json) {
        auto list = nlohmann::json::array();
        for (const ArchivedModem& m : modems) {
            list.push_back({{"serial", m.serial},
                            {"site", m.site.name},
                            {"address", m.site.address},
                            {"note", m.site.note},
                            {"installer", m.lastInstaller},
                            {"first_visit", isoUtc(m.firstVisit)},
                            {"last_visit", isoUtc(m.lastVisit)},
                            {"visits", m.visits}});
        }
        std::cout << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        return 0;
    }
    for (const ArchivedModem& m : modems) {
        std::cout << m.serial << '\t' << m.site.name << '\t'
                  << (m.visits > 0 ? localDateTime(m.lastVisit) : "") << '\t' << m.visits << '\n';
    }
    return 0;
}

std::string operationText(const VisitEntry& e) {
    return std::string(operationKey(e.operation)) + (e.before ? " (до)" : "");
}

int showHistory(const ArchiveCall& call) {
    if (call.args.size() != 1)
        return badArguments("archive history needs one SERIAL");
    auto store = openArchive(call, OpenMode::Read);
    const auto entries = store->history(call.args[0]);
    if (call.options.json) {
        auto list = nlohmann::json::array();
        int n = 0;
        for (const VisitEntry& e : entries) {
            list.push_back({{"n", ++n},
                            {"time", isoUtc(e.time)},
                            {"operation", operationKey(e.operation)},
                            {"before", e.before},
                            {"detail", e.detail},
                            {"port", e.port},
                            {"user", e.user},
                            {"installer", e.installer},
                            {"firmware", e.firmwareVersion},
                            {"diagnostics", e.diagnostics},
                            {"meter", e.meter}});
        }
        std::cout << list.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
        return 0;
    }
    if (entries.empty())
        return archiveFailure("модема " + call.args[0] + " нет в архиве");
    int n = 0;
    for (const VisitEntry& e : entries) {
        std::cout << ++n << '\t' << localDateTime(e.time) << '\t' << operationText(e) << '\t'
                  << e.port << '\t' << (e.user > 0 ? "user " + std::to_string(e.user) : "") << '\t'
                  << e.installer << '\t' << e.detail << '\n';
    }
    return 0;
}

int diffTwo(const ArchiveCall& call) {
    if (call.args.size() < 2 || call.args.size() > 3)
        return badArguments("archive diff needs SERIAL A [B]");
    const auto a = entryNumber(call.args[1]);
    const auto b = call.args.size() == 3 ? entryNumber(call.args[2]) : std::optional<int>(0);
    if (!a || !b)
        return badArguments("archive diff: an entry is a number from 1");
    auto store = openArchive(call, OpenMode::Read);
    const EntryDiff diff = diffEntries(*store, call.args[0], *a, *b);
    if (!diff.error.empty())
        return archiveFailure(call.args[0] + ": " + diff.error);
    const std::string first = "запись " + std::to_string(*a);
    const std::string second = *b == 0 ? std::string("последняя") : "запись " + std::to_string(*b);
    for (const std::string& line :
         differenceLines(diff.differences, first, second, call.options.withSecrets))
        std::cout << line << '\n';
    return diff.differences.empty() ? 0 : 1;
}

// The file must be new, or replaced with --yes, and its folder take it.
bool mayWrite(const std::string& path, bool yes) {
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, error)) && !yes) {
        std::cerr << "zelar-cli: " << path << " exists; give --yes to replace it\n";
        return false;
    }
    return outputFileReady(path);
}

int exportEntry(const ArchiveCall& call) {
    if (call.args.size() != 2)
        return badArguments("archive export needs SERIAL and FILE.md2");
    const std::string& path = call.args[1];
    auto store = openArchive(call, OpenMode::Read);
    const auto content = settingsFileAt(*store, call.args[0], call.options.at.value_or(0));
    if (!content) {
        return archiveFailure(
            call.args[0] + ": " +
            (call.options.at ? "в записи " + std::to_string(*call.options.at) + " нет настроек"
                             : std::string("в архиве нет его настроек")));
    }
    if (!mayWrite(path, call.options.yes))
        return 1;
    const std::string failure = writeFileReplacing(path, composeSettingsFile(*content));
    return failure.empty() ? 0 : archiveFailure(failure);
}

int editSite(const ArchiveCall& call) {
    if (call.args.size() != 1)
        return badArguments("archive site needs one SERIAL");
    const CliOptions& o = call.options;
    const std::string& serial = call.args[0];
    if (!o.siteName && !o.siteAddress && !o.siteNote) {
        const auto modem = openArchive(call, OpenMode::Read)->modem(serial);
        if (!modem)
            return archiveFailure("модема " + serial + " нет в архиве");
        std::cout << "name: " << modem->site.name << "\naddress: " << modem->site.address
                  << "\nnote: " << modem->site.note << "\ninstaller: " << modem->lastInstaller
                  << '\n';
        return 0;
    }
    auto store = openArchive(call, OpenMode::Write);
    ModemSite site = store->modem(serial).value_or(ArchivedModem{}).site;
    site.name = o.siteName.value_or(site.name);
    site.address = o.siteAddress.value_or(site.address);
    site.note = o.siteNote.value_or(site.note);
    store->setSite(serial, site);
    return 0;
}

int mergeInto(ArchiveStore& from, ArchiveStore& into) {
    const MergeCount count = mergeArchive(from, into);
    std::cerr << "zelar-cli: модемов " << count.modems << ", записей добавлено " << count.entries
              << ", уже было " << count.skipped << '\n';
    return 0;
}

int exportAll(const ArchiveCall& call) {
    if (call.args.size() != 1)
        return badArguments("archive export-all needs one FILE");
    const std::string& path = call.args[0];
    if (!mayWrite(path, call.options.yes))
        return 1;
    auto from = openArchive(call, OpenMode::Read);
    // Built beside the target and renamed into place: the file named is whole or not there.
    const std::string building = path + ".part";
    std::filesystem::remove(building);
    int status = 0;
    {
        auto into = openSqliteArchive(building, OpenMode::Write);
        status = mergeInto(*from, *into);
        into->seal();
    }
    std::error_code error;
    std::filesystem::rename(building, path, error);
    if (error)
        return archiveFailure(path + ": " + error.message());
    return status;
}

int importArchive(const ArchiveCall& call) {
    if (call.args.size() != 1)
        return badArguments("archive import needs one FILE");
    auto from = openSqliteArchive(call.args[0], OpenMode::Read);
    auto into = openArchive(call, OpenMode::Write);
    return mergeInto(*from, *into);
}

struct ArchiveVerb {
    std::string_view name;
    int (*run)(const ArchiveCall& call);
};

constexpr ArchiveVerb kVerbs[] = {
    {"list", listModems},      {"history", showHistory}, {"diff", diffTwo},
    {"export", exportEntry},   {"site", editSite},       {"export-all", exportAll},
    {"import", importArchive},
};

}  // namespace

int runArchive(CliSession& /*session*/, const CliOptions& options) {
    if (options.files.empty())
        return badArguments(
            "archive needs a verb: list, history, diff, export, site, export-all "
            "or import");
    for (const ArchiveVerb& verb : kVerbs) {
        if (options.files[0] != verb.name)
            continue;
        ArchiveCall call{
            options, {options.files.begin() + 1, options.files.end()}, archiveFileFor(options)};
        try {
            return verb.run(call);
        } catch (const ArchiveError& error) {
            return archiveFailure(error.what());
        }
    }
    return badArguments("archive has no verb '" + options.files[0] + "'");
}

}  // namespace zelar::cli
