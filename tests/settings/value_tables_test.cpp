#include <gtest/gtest.h>

#include "settings/image_codec.h"
#include "settings/value_tables.h"

namespace zelar {
namespace {

TEST(LinkTestPeriod, StoredBytesToListEntry) {
    const std::pair<std::vector<std::uint8_t>, std::optional<std::string_view>> cases[] = {
        {{0x0E, 0x10}, " 1  час"},  {{0x00, 0x00}, "  Выкл."},    {{0x38, 0x40}, " 4  часа"},
        {{0x00, 0x3C}, " 1  мин."}, {{0x00, 0x05}, std::nullopt}, {{0x10, 0x0E}, std::nullopt},
    };
    for (const auto& [bytes, entry] : cases) {
        TSettingsImage image;
        ASSERT_TRUE(decodeImageBlock(read_block::kLinkTestPeriod, bytes, image));
        const auto index = linkTestPeriodIndex(image.linkTestPeriod);
        ASSERT_EQ(index.has_value(), entry.has_value()) << image.linkTestPeriod;
        if (index) {
            EXPECT_EQ(kLinkTestPeriods[static_cast<std::size_t>(*index)].text, *entry);
        }
    }
}

TEST(LinkTestPeriod, EveryEntryMapsBackToItsSeconds) {
    for (int i = 0; i < static_cast<int>(kLinkTestPeriods.size()); ++i)
        EXPECT_EQ(linkTestPeriodIndex(*linkTestPeriodSeconds(i)), i);
    EXPECT_FALSE(linkTestPeriodSeconds(-1));
    EXPECT_FALSE(linkTestPeriodSeconds(9));
}

TEST(ObjectNumber, ShownPlusOneAndNotSetFrom2048) {
    const std::pair<std::vector<std::uint8_t>, std::optional<int>> cases[] = {
        {{0x00, 0x05, 0x00, 0x04}, 6},
        {{0x00, 0xFF, 0x07, 0x04}, 2048},
        {{0x00, 0x00, 0x08, 0x04}, std::nullopt},
        {{0x00, 0xFF, 0xFF, 0x04}, std::nullopt},
    };
    for (const auto& [bytes, shown] : cases) {
        TSettingsImage image;
        ASSERT_TRUE(decodeImageBlock(read_block::kObject, bytes, image));
        EXPECT_EQ(shownObjectNumber(image.mainObjectMinus1), shown) << image.mainObjectMinus1;
    }
}

TEST(EnumeratedValues, ReadRulesThatAreNotOneToOne) {
    EXPECT_EQ(messageTypeIndex(1), 1);
    EXPECT_EQ(messageTypeIndex(2), 2);
    EXPECT_EQ(messageTypeIndex(255), 2);
    EXPECT_EQ(messageTypeCode(2), 3) << "the call entry is stored as 3";
    EXPECT_FALSE(userStatusIndex(3));
    EXPECT_FALSE(protocolIndex(2)) << "the factory protocol code selects nothing";
    EXPECT_FALSE(protocolCode(3)) << "\"-?-\" has no code";
    EXPECT_EQ(modemTypeIndex(1), -1);
    EXPECT_EQ(modemTypeIndex(2), 0);
}

}  // namespace
}  // namespace zelar
