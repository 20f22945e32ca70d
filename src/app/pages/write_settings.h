#pragma once

#include "app/core/app.h"

namespace zelar {

// "Записать": writes the page on view back into the modem. True when the modem took it.
bool ButtonWriteNastrClick(App& app);

}  // namespace zelar
