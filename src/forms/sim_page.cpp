#include "forms/sim_page.h"

namespace zelar {

SimControls simControls(SimPageControls& p, int sim) {
    if (sim == 2) {
        return {p.CheckBoxSim2Vkl,      p.CheckBoxSim2Pass,   p.EditSim2Pin1,     p.EditSim2Puk1,
                p.CheckBoxSim2Ballance, p.EditSim2Ballance,   p.AutoSetPar2,      p.LabelSim2USSD,
                p.EditSIM2USSD,         p.BitBtnSIM2HelpUSSD, p.LabelSim2APNHead, p.LabelSim2APN,
                p.LabelSim2NAME,        p.LabelSim2PASS,      p.EditSim2APN,      p.EditSim2NAME,
                p.EditSim2PASS};
    }
    return {p.CheckBoxSim1Vkl,      p.CheckBoxSim1Pass,   p.EditSim1Pin1,     p.EditSim1Puk1,
            p.CheckBoxSim1Ballance, p.EditSim1Ballance,   p.AutoSetPar1,      p.LabelSim1USSD,
            p.EditSIM1USSD,         p.BitBtnSIM1HelpUSSD, p.LabelSim1APNHead, p.LabelSim1APN,
            p.LabelSim1NAME,        p.LabelSim1PASS,      p.EditSim1APN,      p.EditSim1NAME,
            p.EditSim1PASS};
}

}  // namespace zelar
