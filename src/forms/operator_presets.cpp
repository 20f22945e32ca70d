#include "forms/operator_presets.h"

#include "forms/form_main.h"

namespace zelar {

const std::vector<OperatorPreset>& operatorPresets() {
    static const std::vector<OperatorPreset> presets = {
        {"МТС", "100", "internet.mts.ru", "mts", "mts"},
        {"Мегафон", "100", "internet", "gdata", "gdata"},
        {"Ютел", "102", "internet.usi.ru", "", ""},
        {"Билайн", "102", "internet.beeline.ru", "beeline", "beeline"},
        {"Теле 2", "105", "internet.tele2.ru", "", ""},
    };
    return presets;
}

std::string presetCaption(const OperatorPreset& preset) {
    std::string caption = preset.operatorName + ", USSD *" + preset.ussd + "#, " + preset.apn;
    if (!preset.login.empty())
        caption += ", " + preset.login + ", " + preset.password;
    return caption;
}

TFormUSSD::TFormUSSD() {
    const auto& presets = operatorPresets();
    RadioButton* radios[] = {&RadioMts, &RadioMegafon, &RadioUtel, &RadioBeeLine, &RadioTele2};
    for (std::size_t i = 0; i < presets.size(); ++i)
        radios[i]->caption = presetCaption(presets[i]);
    RadioMts.checked = true;
}

}  // namespace zelar
