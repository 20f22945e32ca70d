#pragma once

#include <string>

#include "app/report/report_document.h"

namespace zelar::ui {

// The report set on A4 pages with 15 mm margins and page numbers, as the bytes of a PDF file, by
// Qt's own PDF writer: no row is split between pages (`planPages`), the users' heading row is
// repeated on a page they go on to, and the signal meter's chart is painted as the window paints
// it. Needs a QGuiApplication for its fonts.
std::string pdfFromReport(const HandoverReport& report);

}  // namespace zelar::ui
