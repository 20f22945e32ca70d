#pragma once

#include <string>
#include <variant>
#include <vector>

#include "forms/form_archive.h"
#include "forms/form_main.h"

namespace zelar {

// Every control of a window by its name, so front ends can bind, print or drive them by name.
using ControlRef = std::variant<Edit*, Label*, Button*, CheckBox*, RadioButton*, ComboBox*, Panel*,
                                TabSheet*, ProgressBar*, TreeView*, StatusBar*, Memo*>;

struct NamedControl {
    const char* name;
    ControlRef control;
};

std::vector<NamedControl> userPageControls(TformMain& m);
std::vector<NamedControl> simPageControls(TformMain& m);
std::vector<NamedControl> gprsPageControls(TformMain& m);
std::vector<NamedControl> objectPageControls(TformMain& m);
std::vector<NamedControl> voiceCallPageControls(TformMain& m);
std::vector<NamedControl> diagnosticsPageControls(TformMain& m);
// The main window's own controls outside the pages above.
std::vector<NamedControl> shellControls(TformMain& m);
// The entries of the main window's menus.
std::vector<NamedControl> menuControls(TformMain& m);
// All of the main window.
std::vector<NamedControl> mainWindowControls(TformMain& m);

std::vector<NamedControl> setupWindowControls(TformSetup& s);
std::vector<NamedControl> ussdDialogControls(TFormUSSD& u);
std::vector<NamedControl> logWindowControls(TFormInit& l);
// The archive window's controls but its two tables.
std::vector<NamedControl> archiveWindowControls(TformArchive& a);

// The common flags of any control.
const Control& controlBase(const ControlRef& ref);
// What the control shows as one line: an edit's or label's text, a list's shown text, 1 or 0
// for a check box or radio button, a button's or group's caption, 1 or 0 for a panel without
// caption (lit or not), a progress bar's position.
std::string controlValue(const ControlRef& ref);

}  // namespace zelar
