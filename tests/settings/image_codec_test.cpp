#include <gtest/gtest.h>

#include "settings/bytes.h"
#include "settings/flag_bits.h"
#include "settings/image_codec.h"
#include "text/cp1251.h"

namespace zelar {
namespace {

using test::concat;
using test::hexBytes;
using test::textBytes;

std::vector<std::uint8_t> userRecordBytes(std::string_view phone12) {
    return concat(
        {textBytes(phone12), hexBytes("01 03"), textBytes("1234"), hexBytes("82 07 00 0C 14 00")});
}

TEST(UserRecordDecode, ReadsEveryField) {
    TSettingsImage image;
    ASSERT_TRUE(decodeImageBlock(*read_block::user(2), userRecordBytes("+79123456789"), image));
    const UserRecord& user = image.users[1];
    EXPECT_EQ(user.phone, "+79123456789");
    EXPECT_EQ(user.status, 1);
    EXPECT_EQ(user.messageType, 3);
    EXPECT_EQ(user.password, "1234");
    EXPECT_TRUE(userIsOn(user.options));
    EXPECT_EQ(user.options & user_option::kSmsIfNoGprs, user_option::kSmsIfNoGprs);
    EXPECT_EQ(user.options & user_option::kSmsAlways, 0);
    EXPECT_EQ(user.options & user_option::kObjectNumber, user_option::kObjectNumber);
    EXPECT_EQ(user.messageClasses,
              message_class::kAlarm | message_class::kFire | message_class::kFault);
    EXPECT_EQ(user.testPeriodHours, 12);
    EXPECT_EQ(user.objectOffset, 20);
    EXPECT_EQ(image.users[0].phone, "") << "only the block's own user changes";
}

TEST(UserRecordDecode, PhoneNumberCharacterCheck) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"+79123456789", "+79123456789"},
        {"8912 abc    ", ""},
        {"8912        ", "8912"},
        {" 8912       ", ""},
        {"89123456789A", ""},
        {"8912 555    ", "8912"},
    };
    for (const auto& [stored, shown] : cases) {
        TSettingsImage image;
        image.users[0].phone = "old";
        ASSERT_TRUE(decodeImageBlock(*read_block::user(1), userRecordBytes(stored), image));
        EXPECT_EQ(image.users[0].phone, shown) << "stored '" << stored << "'";
    }
}

TEST(ImageDecode, ShortPayloadIsRefusedAndChangesNothing) {
    TSettingsImage image;
    image.users[0].phone = "111";
    auto payload = userRecordBytes("222         ");
    payload.pop_back();
    EXPECT_FALSE(decodeImageBlock(*read_block::user(1), payload, image));
    EXPECT_EQ(image.users[0].phone, "111");
    EXPECT_FALSE(decodeImageBlock(read_block::kModem, {}, image));
    EXPECT_FALSE(decodeImageBlock(read_block::kLinkTestPeriod, hexBytes("0E"), image));
    EXPECT_FALSE(decodeImageBlock(*read_block::server(2), std::vector<std::uint8_t>(43), image));
}

TEST(ImageDecode, ModemBlockAndObjectAndPeriod) {
    TSettingsImage image;
    ASSERT_TRUE(decodeImageBlock(read_block::kModem, hexBytes("FFFFFFFFFF 03 01 FF"), image));
    EXPECT_EQ(image.modemFlags, 0x03);
    EXPECT_EQ(image.modemType, 0x01);

    ASSERT_TRUE(decodeImageBlock(read_block::kObject, hexBytes("05 FF 07 06"), image));
    EXPECT_EQ(image.mainSystem, 5);
    EXPECT_EQ(image.mainObjectMinus1, 2047);
    EXPECT_EQ(image.protocol, 6);

    ASSERT_TRUE(decodeImageBlock(read_block::kLinkTestPeriod, hexBytes("0E 10"), image));
    EXPECT_EQ(image.linkTestPeriod, 3600);
}

TEST(SimRecordDecode, PukIsNeverTakenAndPhoneNumberIsKept) {
    TSettingsImage image;
    const auto payload =
        concat({hexBytes("0D"), textBytes("1234"), textBytes("99999999"), textBytes("0000        "),
                textBytes("100"), hexBytes("FA"), hexBytes("AAAAAA")});
    ASSERT_TRUE(decodeImageBlock(*read_block::sim(2), payload, image));
    const SimRecord& sim = image.sims[1];
    EXPECT_EQ(sim.flags, 0x0D);
    EXPECT_EQ(sim.pin, "1234");
    EXPECT_EQ(sim.puk, "62840517");
    EXPECT_EQ(sim.phone, "0000");
    EXPECT_EQ(sim.ussd, "100");
    EXPECT_EQ(sim.balanceThreshold, 250);
    EXPECT_EQ(image.sims[0].puk, "62840517") << "a fresh image holds the default PUK too";
}

TEST(ImageDecode, GprsAuthBlockSkipsItsUnusedFirstByte) {
    TSettingsImage image;
    const auto payload =
        concat({hexBytes("41"), textBytes("login          "), textBytes("pass    ")});
    ASSERT_TRUE(decodeImageBlock(read_block::kGprsAuth, payload, image));
    EXPECT_EQ(image.gprsAuthName, "login");
    EXPECT_EQ(image.gprsAuthPassword, "pass");
}

TEST(ImageText, CyrillicTravelsAsWindows1251BothWays) {
    TSettingsImage image;
    const std::string apn = "интернет.мтс";
    std::vector<std::uint8_t> payload = textBytes(utf8ToCp1251(apn));
    payload.resize(24, ' ');
    ASSERT_TRUE(decodeImageBlock(*read_block::simApn(1), payload, image));
    EXPECT_EQ(image.sims[0].apnName, apn);
    EXPECT_EQ(encodeRegion(SettingsRegion::SimApn, 1, image), payload);

    image.sims[0].apnName = std::string(24, 'x');
    EXPECT_EQ(encodeRegion(SettingsRegion::SimApn, 1, image)->size(), 24u);
    image.sims[0].apnName = "ж" + std::string(23, 'x');
    EXPECT_EQ(encodeRegion(SettingsRegion::SimApn, 1, image)->size(), 24u)
        << "width counts memory bytes, not UTF-8 bytes";
}

TEST(RegionEncode, TextTooLongForItsFieldIsRefused) {
    TSettingsImage image;
    image.sims[1].apnPassword = std::string(25, 'x');
    EXPECT_FALSE(encodeRegion(SettingsRegion::SimApnPassword, 2, image));
    image.dns2 = "123.123.123.123.1";
    EXPECT_FALSE(ComposeRegionWrite(SettingsRegion::DnsServers, 1, image));
    image.users[3].password = "12345";
    EXPECT_FALSE(encodeRegion(SettingsRegion::UserRecord, 4, image));
}

TEST(RegionEncode, EmptyTextsArePaddedToTheirWidth) {
    const TSettingsImage image;
    EXPECT_EQ(encodeRegion(SettingsRegion::SimApnPassword, 1, image),
              std::vector<std::uint8_t>(24, ' '));
    EXPECT_EQ(encodeRegion(SettingsRegion::GprsAuth, 1, image), std::vector<std::uint8_t>(23, ' '));
}

TEST(ComposeRegionWrite, UserRecordAsTheWriteSendsIt) {
    TSettingsImage image;
    UserRecord& user = image.users[2];
    user.phone = "+79161234567";
    user.status = 2;
    user.messageType = 3;
    user.password = "4321";
    user.options = user_option::kSmsAlways;
    user.testPeriodHours = 10;
    const auto write = ComposeRegionWrite(SettingsRegion::UserRecord, 3, image);
    ASSERT_TRUE(write);
    EXPECT_EQ(write->address, 0x0038);
    EXPECT_EQ(write->data, concat({textBytes("+79161234567"), hexBytes("02 03"), textBytes("4321"),
                                   hexBytes("01 0000 0A 0000")}));
}

TEST(ComposeRegionWrite, SimRecordPartsAndFixedPuk) {
    TSettingsImage image;
    SimRecord& sim = image.sims[0];
    sim.flags = 0x09;
    sim.pin = "7391";
    sim.puk = "11111111";
    sim.phone = "0000";
    sim.ussd = "100";
    sim.balanceThreshold = 30;
    const auto record = ComposeRegionWrite(SettingsRegion::SimRecord, 1, image);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->address, 0x0098);
    EXPECT_EQ(record->data, concat({hexBytes("09"), textBytes("7391"), textBytes("62840517"),
                                    textBytes("0000        ")}));
    EXPECT_EQ(ComposeRegionWrite(SettingsRegion::SimUssd, 1, image)->data, textBytes("100"));
    EXPECT_EQ(ComposeRegionWrite(SettingsRegion::SimUssd, 1, image)->address, 0x00B1);
    EXPECT_EQ(ComposeRegionWrite(SettingsRegion::SimThreshold, 1, image)->data, hexBytes("1E"));
    EXPECT_EQ(ComposeRegionWrite(SettingsRegion::SimThreshold, 2, image)->address, 0x00D4);
}

TEST(ComposeRegionWrite, LinkTestPeriodGoesHighByteFirst) {
    TSettingsImage image;
    image.linkTestPeriod = 14400;
    EXPECT_EQ(ComposeRegionWrite(SettingsRegion::LinkTestPeriod, 1, image)->data,
              hexBytes("38 40"));
    image.linkTestPeriod = 0;
    EXPECT_EQ(ComposeRegionWrite(SettingsRegion::LinkTestPeriod, 1, image)->data,
              hexBytes("00 00"));
}

TEST(ComposeRegionWrite, RefusesScreenRegionsAndBadInstances) {
    const TSettingsImage image;
    EXPECT_FALSE(ComposeRegionWrite(SettingsRegion::VoiceCall, 1, image));
    EXPECT_FALSE(ComposeRegionWrite(SettingsRegion::AutoDetect, 1, image));
    EXPECT_FALSE(ComposeRegionWrite(SettingsRegion::UserRecord, 0, image));
    EXPECT_FALSE(ComposeRegionWrite(SettingsRegion::UserRecord, 7, image));
    EXPECT_FALSE(ComposeRegionWrite(SettingsRegion::ServerRecord, 3, image));
}

// Memory in the form the modem keeps it: texts without inner spaces, padded with spaces.
std::vector<std::uint8_t> canonicalRegionBytes(SettingsRegion region, int k) {
    using R = SettingsRegion;
    const auto padded = [](std::string_view text, std::size_t width) {
        auto bytes = textBytes(text);
        bytes.resize(width, ' ');
        return bytes;
    };
    switch (region) {
        case R::ModemFlags:
            return hexBytes("03 00");
        case R::UserRecord:
            return concat({padded("+7912000000" + std::to_string(k), 12), hexBytes("02 01"),
                           textBytes("7391"), hexBytes("BF 3F00 63 0F27")});
        case R::SimRecord:
            return concat(
                {hexBytes("0D"), textBytes("7391"), textBytes("62840517"), padded("0000", 12)});
        case R::SimUssd:
            return textBytes("102");
        case R::SimThreshold:
            return hexBytes("C8");
        case R::SimApn:
            return padded(utf8ToCp1251("точка.доступа"), 24);
        case R::SimApnLogin:
        case R::SimApnPassword:
            return padded("mts", 24);
        case R::DnsServers:
            return concat({padded("8.8.8.8", 16), padded("123.123.123.123", 16)});
        case R::GprsAuth:
            return concat({padded("abcdefghijklmno", 15), padded("pass", 8)});
        case R::ServerRecord:
            return concat({hexBytes("03"), padded("10.0.0.1", 15), padded("8080", 4),
                           padded("server.example.org", 24)});
        case R::LinkTestPeriod:
            return hexBytes("38 40");
        default:
            return {};
    }
}

TEST(RegionRoundTrip, EveryImageRegionCarriesItsBytesUnchanged) {
    for (const auto& [region, k] : allRegionInstances()) {
        if (!isImageRegion(region))
            continue;
        const auto block = *regionBlock(region, k);
        const auto bytes = canonicalRegionBytes(region, k);
        ASSERT_EQ(bytes.size(), block.length) << "region " << static_cast<int>(region);
        TSettingsImage image;
        ASSERT_TRUE(decodeImageBlock(block, bytes, image));
        const auto write = ComposeRegionWrite(region, k, image);
        ASSERT_TRUE(write);
        EXPECT_EQ(write->address, block.address);
        EXPECT_EQ(write->data, bytes) << "region " << static_cast<int>(region) << " k " << k;
    }
}

}  // namespace
}  // namespace zelar
