#pragma once

#include <QString>
#include <string>

class QMessageBox;
class QWidget;

namespace zelar::ui {

// The width a window needs for the window manager to show `caption` whole in its title bar,
// beside the bar's icon and buttons.
int widthForCaption(const QString& caption);

// The title a window shows for `caption`. The platforms put the program's name in place of an
// empty title; a blank keeps an empty caption empty.
QString shownCaption(const std::string& caption);

// Makes a window at least as wide as its whole caption, once it has its size. A message box
// sizes itself to its text when shown, so it is widened from inside its layout.
void widenForCaption(QWidget& window);
void widenForCaption(QMessageBox& box);

}  // namespace zelar::ui
