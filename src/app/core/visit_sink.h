#pragma once

#include <string>

#include "archive/archive_types.h"

namespace zelar {

struct App;

// Where the handlers tell of a visit to the modem: the archive of modems when the user keeps
// one, nothing otherwise (App::archive is null). It never fails an operation: an archive that
// cannot be written says so itself.
class VisitSink {
  public:
    virtual ~VisitSink() = default;
    // The modem's state before an operation that replaces many settings at once, told before
    // the operation sends anything.
    virtual void before(App& app, archive::VisitOperation operation) = 0;
    // An operation that succeeded, with the App holding the modem's state after it.
    virtual void after(App& app, archive::VisitOperation operation, const std::string& detail) = 0;
};

// Tell the App's sink, when it has one.
void archiveBefore(App& app, archive::VisitOperation operation);
void archiveVisit(App& app, archive::VisitOperation operation, const std::string& detail = {});

}  // namespace zelar
