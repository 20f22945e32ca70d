#include "app/user_rules.h"

namespace zelar {

void cbUserONClick(App&) {}
void cbUserTypeMessChange(App&) {}
void cbUserStatusChange(App&) {}
void EditUserTtestmessMExit(App&) {}

}  // namespace zelar
