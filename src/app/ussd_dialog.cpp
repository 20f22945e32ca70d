#include "app/ussd_dialog.h"

namespace zelar {

void BitBtnSIMHelpUSSDClick(App&, int) {}
void ButtonUSSDOperatorClick(App&) {}
void BitBtnUSSDCloseClick(App&) {}

}  // namespace zelar
