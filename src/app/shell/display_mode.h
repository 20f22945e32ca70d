#pragma once

#include "app/core/app.h"

namespace zelar {

// "Пользователь" hides the six expert panels; "Эксперт", or no selection, shows them.
void cbExpertChange(App& app);
// "Быстрый обмен": the link's waits end as soon as a complete reply is in.
void cbFastExchangeClick(App& app);

}  // namespace zelar
