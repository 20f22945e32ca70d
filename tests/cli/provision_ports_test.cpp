#include "provision/provision_ports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelar::cli {
namespace {

TEST(ProvisionPorts, ListsNamesAndRangesInOrderAndRefusesWhatIsNoList) {
    struct Case {
        const char* list;
        std::vector<std::string> ports;
        const char* error;  // a part of the message; empty when the list is taken
    };
    const Case cases[] = {
        {"COM33-COM35,COM45", {"COM33", "COM34", "COM35", "COM45"}, ""},
        {" COM7 , COM2-COM2", {"COM7", "COM2"}, ""},
        {"COM40-COM33", {}, "'COM40-COM33' runs backwards"},
        {"COM3-LPT5", {}, "'COM3-LPT5' mixes two kinds of port names"},
        {"LPT1", {}, "'LPT1' is no port name"},
        {"COM3,,COM4", {}, "an empty item"},
        {"COM3,", {}, "an empty item"},
        {"COM", {}, "'COM' is no port name"},
        {"COM0", {}, "'COM0' is no port name"},
        {"COM007", {}, "'COM007' is no port name"},
        {"COM3-COM5-COM7", {}, "is no port name"},
        {"COM210--COM211", {}, "'-COM211' in 'COM210--COM211' is no port name"},
        {"COM3-COM5,COM4", {}, "COM4 is given twice"},
        {"COM1-COM999999", {}, "more than 256 ports"},
        {"", {}, "--ports needs port names"},
    };
    for (const Case& c : cases) {
        const PortList list = parsePortList(c.list);
        EXPECT_EQ(list.ports, c.ports) << c.list;
        EXPECT_NE(list.error.find(c.error), std::string::npos) << c.list << ": " << list.error;
        EXPECT_EQ(list.error.empty(), std::string(c.error).empty()) << c.list;
    }
}

}  // namespace
}  // namespace zelar::cli
