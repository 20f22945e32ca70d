#pragma once

#include "app/app.h"

namespace zelar {

// "Пользователь" hides the six expert panels; "Эксперт", or no selection, shows them.
void cbExpertChange(App& app);

}  // namespace zelar
