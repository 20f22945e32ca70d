#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelar::cli {

// The ports of a provisioning run, or why the list will not do.
struct PortList {
    std::vector<std::string> ports;
    std::string error;  // set when the list is refused; `ports` is empty then
};

// Port names and ranges separated by commas, as "COM33-COM40,COM45", in the order given. A
// range runs upwards between two names of the same prefix; every port may appear once.
PortList parsePortList(std::string_view text);

}  // namespace zelar::cli
