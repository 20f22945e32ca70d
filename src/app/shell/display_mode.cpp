#include "app/shell/display_mode.h"

namespace zelar {

void cbExpertChange(App& app) {
    const bool expert = app.main.cbExpert.itemIndex != 0;
    for (Panel* panel : app.main.expertPanels())
        panel->visible = expert;
}

void cbFastExchangeClick(App& app) {
    app.link.setFast(app.main.cbFastExchange.checked);
}

}  // namespace zelar
