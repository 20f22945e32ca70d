#pragma once

#include <string>
#include <vector>

namespace zelar {

// What "OK" of the operator dialog puts into a SIM's fields.
struct OperatorPreset {
    std::string operatorName;
    std::string ussd;  // the request number: "100" for *100#
    std::string apn;
    std::string login;  // empty for operators without credentials
    std::string password;
};

// In the order of the dialog's radio buttons: МТС, Мегафон, Ютел, Билайн, Теле 2.
const std::vector<OperatorPreset>& operatorPresets();

// "МТС, USSD *100#, internet.mts.ru, mts, mts"
std::string presetCaption(const OperatorPreset& preset);

}  // namespace zelar
