#include "forms/control_containers.h"

#include <algorithm>
#include <array>

namespace zelar {

namespace {

constexpr auto kExpert1 = std::to_array<std::string_view>(
    {"PanelUserStatus", "cbUserStatus", "PanelUserTypeMess", "cbUserTypeMess", "PanelUserFormat",
     "cbUserObjectON", "cbUserSystemON", "PanelUserPriority", "cbUserPriority", "cbUserDialON",
     "PanelSeekObject", "EditSeekObject"});
constexpr auto kExpert2 = std::to_array<std::string_view>(
    {"PanelMessCodes", "CheckBoxMessAlarmON", "CheckBoxMessFireON", "CheckBoxMessErrON",
     "CheckBoxMessPowerON", "CheckBoxMessGuardON", "CheckBoxMessInfOn"});
constexpr auto kExpert4 =
    std::to_array<std::string_view>({"CheckBoxSim1Pass", "EditSim1Pin1", "EditSim1Puk1"});
constexpr auto kExpert5 =
    std::to_array<std::string_view>({"CheckBoxSim2Pass", "EditSim2Pin1", "EditSim2Puk1"});
constexpr auto kGprs = std::to_array<std::string_view>({"ComboBoxTypeModem",
                                                        "GroupGPRSAuth",
                                                        "LabelGPRSLogin",
                                                        "EditGPRSLogin",
                                                        "LabelGPRSPass",
                                                        "EditGPRSPass",
                                                        "CheckModemFlagGPRSCont",
                                                        "GroupServer1",
                                                        "RBtnIP1",
                                                        "RBtnDNS1",
                                                        "EditGPRSIP1",
                                                        "EditGPRSWWW1",
                                                        "LabelGPRSPort1",
                                                        "EditGPRSPort1",
                                                        "CheckBoxGPRSRez2",
                                                        "GroupServer2",
                                                        "RBtnIP2",
                                                        "RBtnDNS2",
                                                        "EditGPRSIP2",
                                                        "EditGPRSWWW2",
                                                        "LabelGPRSPort2",
                                                        "EditGPRSPort2",
                                                        "GroupGPRSCommon",
                                                        "LabelTestGPRS",
                                                        "ComBoxTestGPRS",
                                                        "LabelGPRSDNS1",
                                                        "EditGPRSDNS1",
                                                        "LabelGPRSDNS2",
                                                        "EditGPRSDNS2"});

const std::array kContainers = {
    ControlContainer{"PanelExpert1", kExpert1}, ControlContainer{"PanelExpert2", kExpert2},
    ControlContainer{"PanelExpert4", kExpert4}, ControlContainer{"PanelExpert5", kExpert5},
    ControlContainer{"GBoxGPRS", kGprs},
};

constexpr auto kSmsRadios = std::to_array<std::string_view>({"RBtnSMSalways", "RBtnSMSifNoGPRS"});
constexpr auto kServer1Radios = std::to_array<std::string_view>({"RBtnIP1", "RBtnDNS1"});
constexpr auto kServer2Radios = std::to_array<std::string_view>({"RBtnIP2", "RBtnDNS2"});
constexpr auto kOperatorRadios = std::to_array<std::string_view>(
    {"RadioMts", "RadioMegafon", "RadioUtel", "RadioBeeLine", "RadioTele2"});

const std::array<std::span<const std::string_view>, 4> kRadioGroups = {
    kSmsRadios, kServer1Radios, kServer2Radios, kOperatorRadios};

bool contains(std::span<const std::string_view> list, std::string_view name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

}  // namespace

std::span<const ControlContainer> controlContainers() {
    return kContainers;
}

const ControlContainer* containerOf(std::string_view control) {
    const auto it =
        std::find_if(kContainers.begin(), kContainers.end(),
                     [&](const ControlContainer& c) { return contains(c.members, control); });
    return it == kContainers.end() ? nullptr : &*it;
}

std::span<const std::string_view> radioGroupOf(std::string_view radio) {
    for (const auto group : kRadioGroups) {
        if (contains(group, radio))
            return group;
    }
    return {};
}

}  // namespace zelar
