#include "app/archive_view/report_from_archive.h"

#include "app/archive/app_snapshot.h"
#include "app/archive/visit_recorder.h"
#include "app/archive_view/archive_keeping.h"

namespace zelar {

HandoverRequest reportRequestFromArchive(App& app) {
    HandoverRequest request;
    VisitRecorder* archive = keptArchive(app);
    const std::string serial = appSerialNumber(app);
    if (archive == nullptr || app.source.file || serial.empty())
        return request;
    archive::ArchiveStore* store = archive->store();
    if (store == nullptr)
        return request;
    try {
        const auto modem = store->modem(serial);
        if (!modem)
            return request;
        request.installer = modem->lastInstaller;
        const archive::ModemSite& site = modem->site;
        request.site = site.name;
        if (!site.address.empty())
            request.site += (site.name.empty() ? "" : ", ") + site.address;
    } catch (const archive::ArchiveError&) {
        // The report goes on with empty fields; the archive's line tells of its fault.
    }
    return request;
}

void rememberInstaller(App& app, const std::string& installer) {
    if (VisitRecorder* archive = keptArchive(app))
        archive->installer = installer;
}

std::optional<HandoverRequest> askReportWithArchive(App& app, const HandoverRequest& given,
                                                    const ReportDialogAsk& ask) {
    HandoverRequest offered = given;
    const HandoverRequest archived = reportRequestFromArchive(app);
    if (offered.installer.empty())
        offered.installer = archived.installer;
    if (offered.site.empty())
        offered.site = archived.site;
    auto answer = ask(offered);
    if (answer)
        rememberInstaller(app, answer->installer);
    return answer;
}

}  // namespace zelar
