#pragma once

#include <string>

namespace zelar::ui {

// The HTML set on A4 pages with 15 mm margins and page numbers, as the bytes of a PDF file, by
// Qt's own PDF writer. Needs a QGuiApplication for its fonts.
std::string pdfFromHtml(const std::string& html, const std::string& title);

}  // namespace zelar::ui
