// LeadingNumber on the library's texts and on text that is not a number.
#include "splitter/media/MediaQuery.h"

#include <gtest/gtest.h>

TEST(LeadingNumber, RatesOfEitherLibraryStyleGiveHertzAndKilobits) {
    EXPECT_EQ(LeadingNumber("44.1 KHz", 1000), 44100);
    EXPECT_EQ(LeadingNumber("44.1 kHz", 1000), 44100);
    EXPECT_EQ(LeadingNumber("22.05 KHz", 1000), 22050);
    EXPECT_EQ(LeadingNumber("11.025 kHz", 1000), 11025) << "binary 11.025 is a hair below";
    EXPECT_EQ(LeadingNumber("48.0 kHz", 1000), 48000);
    EXPECT_EQ(LeadingNumber("8 000 Hz", 1000), 8000) << "only the text before the first blank";
    EXPECT_EQ(LeadingNumber("128 Kbps", 1), 128);
    EXPECT_EQ(LeadingNumber("320 kb/s", 1), 320);
    EXPECT_EQ(LeadingNumber("-1.5 x", 2), -3);
    EXPECT_EQ(LeadingNumber("2.9 x", 1), 2) << "truncated toward zero";
}

TEST(LeadingNumber, TextWithoutABlankOrANumberGivesZero) {
    EXPECT_EQ(LeadingNumber("", 1000), 0);
    EXPECT_EQ(LeadingNumber("44100", 1000), 0);
    EXPECT_EQ(LeadingNumber("kHz 44.1", 1000), 0);
    EXPECT_EQ(LeadingNumber(" 44.1", 1000), 0);
    EXPECT_EQ(LeadingNumber("9e20 huge", 1000), 0) << "beyond 32 bits";
}
