#include "app/pages/ussd_dialog.h"

#include <array>
#include <cstddef>

#include "forms/operator_presets.h"
#include "forms/sim_page.h"

namespace zelar {

void BitBtnSIMHelpUSSDClick(App& app, int sim) {
    // The dialog keeps its radio selection between openings; only the SIM changes.
    app.ussd.sim = sim;
    app.services.dialogs.showModal(WindowId::Ussd);
}

void ButtonUSSDOperatorClick(App& app) {
    TFormUSSD& d = app.ussd;
    const std::array<const RadioButton*, 5> radios = {&d.RadioMts, &d.RadioMegafon, &d.RadioUtel,
                                                      &d.RadioBeeLine, &d.RadioTele2};
    const auto& presets = operatorPresets();
    for (std::size_t i = 0; i < radios.size() && i < presets.size(); ++i) {
        if (!radios[i]->checked)
            continue;
        // Set as text whether the fields are enabled or not; the content is checked only when
        // the SIM page is written.
        SimControls c = simControls(app.main, d.sim);
        c.ussd.text = presets[i].ussd;
        c.apn.text = presets[i].apn;
        c.name.text = presets[i].login;
        c.pass.text = presets[i].password;
        break;
    }
    app.services.dialogs.closeModal(WindowId::Ussd);
}

void BitBtnUSSDCloseClick(App& app) {
    app.services.dialogs.closeModal(WindowId::Ussd);
}

}  // namespace zelar
