#include "app/pages/sim_rules.h"

namespace zelar {

void applySimPin(TformMain& main, int sim) {
    SimControls c = simControls(main, sim);
    c.pinCode.enabled = c.pin.checked;
    c.puk.enabled = c.pin.checked;
}

void applySimBalance(TformMain& main, int sim) {
    SimControls c = simControls(main, sim);
    c.threshold.enabled = c.balance.checked;
    c.ussd.enabled = c.balance.checked && !c.autoDetect.checked;
}

void applySimAutoDetect(TformMain& main, int sim) {
    SimControls c = simControls(main, sim);
    const bool manual = !c.autoDetect.checked;
    for (Control* control :
         {static_cast<Control*>(&c.ussd), static_cast<Control*>(&c.operatorButton),
          static_cast<Control*>(&c.apn), static_cast<Control*>(&c.name),
          static_cast<Control*>(&c.pass), static_cast<Control*>(&c.labelUssd),
          static_cast<Control*>(&c.labelApnHead), static_cast<Control*>(&c.labelApn),
          static_cast<Control*>(&c.labelName), static_cast<Control*>(&c.labelPass)}) {
        control->enabled = manual;
    }
}

}  // namespace zelar
