#pragma once

#include <QStringList>
#include <string>

namespace zelar::ui {

// "Description|*.ext;*.ex2|Description|*.ext" as Qt name filters:
// "Description (*.ext *.ex2)", "Description (*.ext)". A description without its pattern
// stands alone; one that already ends in its patterns in brackets, or is its patterns, is
// shown as it is.
QStringList toNameFilters(const std::string& filter);

}  // namespace zelar::ui
