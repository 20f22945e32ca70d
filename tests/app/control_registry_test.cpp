#include "forms/control_registry.h"

#include <gtest/gtest.h>

#include <set>

namespace zelar {
namespace {

TEST(ControlRegistry, EveryControlOnceByAUniqueName) {
    TformMain main;
    std::set<std::string> names;
    std::set<const void*> controls;
    for (const NamedControl& c : mainWindowControls(main)) {
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
        EXPECT_TRUE(controls.insert(&controlBase(c.control)).second) << c.name;
    }
    EXPECT_GT(names.size(), 170u);
    EXPECT_TRUE(names.count("EditSim1Pin1"));
    EXPECT_TRUE(names.count("ComBoxTestGPRS"));
    EXPECT_TRUE(names.count("PanelExpert5"));
    TformSetup setup;
    EXPECT_EQ(setupWindowControls(setup).size(), 26u);
}

TEST(ControlRegistry, ValuesAsShown) {
    TformMain m;
    m.EditUserTel.text = "+7916";
    m.cbUserON.checked = true;
    showText(m.ComBoxTestGPRS, "???");
    EXPECT_EQ(controlValue(&m.EditUserTel), "+7916");
    EXPECT_EQ(controlValue(&m.cbUserON), "1");
    EXPECT_EQ(controlValue(&m.RBtnSMSalways), "0");
    EXPECT_EQ(controlValue(&m.ComBoxTestGPRS), "???");
    EXPECT_EQ(controlValue(&m.BitBtnSIM1HelpUSSD), "Оператор");
    EXPECT_EQ(controlValue(&m.ComBoxProt), "-?-");
}

}  // namespace
}  // namespace zelar
