// The version record and the build date it carries.
#include "encoder/BladeEncoder.h"
#include "encoder/BuildDate.h"

#include <lame.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Version, RecordCarriesInterfaceAndLameVersionsAndHomePage) {
    BE_VERSION version;
    std::memset(&version, 0xAB, sizeof version);
    beVersion(&version);
    EXPECT_EQ(version.byDLLMajorVersion, 1);
    EXPECT_EQ(version.byDLLMinorVersion, 32);
    lame_version_t lame;
    get_lame_version_numerical(&lame);
    EXPECT_EQ(version.byMajorVersion, lame.major);
    EXPECT_EQ(version.byMinorVersion, lame.minor);
    EXPECT_EQ(version.byAlphaLevel, lame.alpha);
    EXPECT_EQ(version.byBetaLevel, lame.beta);
    EXPECT_EQ(version.byMMXEnabled, 0);
    EXPECT_STREQ(version.zHomepage, get_lame_url());
    for (uint8_t reserved : version.btReserved)
        ASSERT_EQ(reserved, 0);

    const blade::BuildDate built = blade::LibraryBuildDate();
    EXPECT_EQ(version.byDay, built.day);
    EXPECT_EQ(version.byMonth, built.month);
    EXPECT_EQ(version.wYear, built.year);
    EXPECT_GE(version.byMonth, 1);
    EXPECT_LE(version.byMonth, 12);
    EXPECT_GE(version.wYear, 2024);
}

TEST(Version, BuildDateTextIsParsed) {
    const blade::BuildDate march = blade::ParseBuildDate("Mar  5 2026");
    EXPECT_EQ(march.month, 3);
    EXPECT_EQ(march.day, 5);
    EXPECT_EQ(march.year, 2026);
    const blade::BuildDate december = blade::ParseBuildDate("Dec 31 1999");
    EXPECT_EQ(december.month, 12);
    EXPECT_EQ(december.day, 31);
    EXPECT_EQ(december.year, 1999);
    EXPECT_EQ(blade::ParseBuildDate("Xyz 12 2026").month, 1);
}

} // namespace
