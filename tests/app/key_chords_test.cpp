#include "app/shell/key_chords.h"

#include "app_fixture.h"

namespace zelar {
namespace {

using test::AppFixture;

class KeyChordsTest : public AppFixture {};

TEST_F(KeyChordsTest, ServiceWindowNeedsCtrlAltAndItsDigit) {
    FormKeyDown(app, {true, true, 7, 0, {}});
    EXPECT_EQ(dialogs.shownWindows, std::vector<WindowId>{WindowId::Setup});
    FormKeyDown(app, {true, false, 7, 0, {}});
    FormKeyDown(app, {false, true, 7, 0, {}});
    FormKeyDown(app, {true, true, 6, 0, {}});
    EXPECT_EQ(dialogs.shownWindows.size(), 1u);
}

TEST_F(KeyChordsTest, LogWindowNeedsCtrlAndItsFunctionKeyHeldAtAnyPress) {
    FormKeyDown(app, {true, false, -1, 11, {11}});
    FormKeyDown(app, {true, false, 3, 0, {11}});  // another key while both are held
    EXPECT_EQ(dialogs.shownWindows, (std::vector<WindowId>{WindowId::Log, WindowId::Log}));
    FormKeyDown(app, {false, false, -1, 11, {11}});
    FormKeyDown(app, {true, false, -1, 12, {12}});
    EXPECT_EQ(dialogs.shownWindows.size(), 2u);
}

TEST_F(KeyChordsTest, BothChordsAreTestedInTurn) {
    FormKeyDown(app, {true, true, 7, 0, {11}});
    EXPECT_EQ(dialogs.shownWindows, (std::vector<WindowId>{WindowId::Setup, WindowId::Log}));
}

TEST_F(KeyChordsTest, NoWindowOpensWhileAnOperationHoldsTheLink) {
    {
        const TModemLink::Lease operation(app.link);
        FormKeyDown(app, {true, true, 7, 0, {11}});
        EXPECT_TRUE(dialogs.shownWindows.empty());
    }
    FormKeyDown(app, {true, true, 7, 0, {}});
    EXPECT_EQ(dialogs.shownWindows, std::vector<WindowId>{WindowId::Setup});
}

TEST(CentreOver, HalvesTruncateTowardZero) {
    const Rect r = centreOver({100, 50, 801, 601}, 301, 201);
    EXPECT_EQ(r.left, 100 + 400 - 150);
    EXPECT_EQ(r.top, 50 + 300 - 100);
    const Rect big = centreOver({0, 0, 100, 100}, 301, 401);
    EXPECT_EQ(big.left, 50 - 150);
    EXPECT_EQ(big.top, 50 - 200);
}

}  // namespace
}  // namespace zelar
