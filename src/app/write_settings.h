#pragma once

#include "app/app.h"

namespace zelar {

// "Записать": writes the page on view back into the modem.
void ButtonWriteNastrClick(App& app);

}  // namespace zelar
