#include "app/control_events.h"
#include "app/shell/login.h"
#include "app/shell/navigation.h"
#include "app/shell/read_settings.h"
#include "sim_fixture.h"

namespace zelar::test {
namespace {

// "Проверять запись": a modem that answers "OK" and then holds another byte fails the write.
class VerifyWrites : public SimFixture {
  protected:
    void writeSimPage(bool verify) {
        btnReadNastUserClick(app);
        ASSERT_TRUE(app.settingsRead);
        selectItem(app.main.cbUser, 0);
        app.main.EditPassword.text = "1234";
        ButtonApplyPasswordClick(app);
        app.main.TreeView1.selected = kNodeModem;
        TreeView1Changing(app, kNodeModem);
        app.main.activePage = Page::TabSheet2;
        app.main.AutoSetPar1.checked = false;
        app.main.cbVerifyWrites.checked = verify;
        // The fifth V16 of the SIM page is SIM 1's access point name.
        modem.options().faults.rules = {{sim::ReplyFault::Alter, 16, 5}};
        dialogs.messages.clear();
        findControlEvents(FormId::Main, "ButtonWriteNastr")->click(app);
    }
};

TEST_F(VerifyWrites, AChangedByteFailsTheWriteNamingItsField) {
    writeSimPage(true);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text,
              "Проверка записи: в модеме другое значение поля «Точка доступа APN» "
              "(Настройка SIM-карт, SIM 1)");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Error);
    EXPECT_FALSE(app.link.isOpen());

    FormClose(app, profile);
    EXPECT_EQ((profile.values[{"Modem", "VerifyWrites"}]), 1);
}

TEST_F(VerifyWrites, WithoutTheBoxTheSameModemIsWrittenAsBefore) {
    writeSimPage(false);
    ASSERT_EQ(dialogs.messages.size(), 1U);
    EXPECT_EQ(dialogs.messages[0].text, "Настройки записаны");
    FormClose(app, profile);
    EXPECT_FALSE(profile.values.contains({"Modem", "VerifyWrites"}));
}

}  // namespace
}  // namespace zelar::test
