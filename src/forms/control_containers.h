#pragma once

#include <span>
#include <string_view>

namespace zelar {

// Groups of the main window that hide or disable what they hold, with the named controls inside
// each (as the window's layout nests them). A control is reachable only while its group is.
struct ControlContainer {
    std::string_view name;
    std::span<const std::string_view> members;
};

std::span<const ControlContainer> controlContainers();
// The listed group that holds the control; nothing when no listed group does.
const ControlContainer* containerOf(std::string_view control);

// The radio buttons that exclude each other (checking one unchecks the rest). Empty for a
// control that is in no group.
std::span<const std::string_view> radioGroupOf(std::string_view radio);

}  // namespace zelar
