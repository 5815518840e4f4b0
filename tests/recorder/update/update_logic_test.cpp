// The start-up checks' arithmetic and input handling: decimal texts, the version description,
// patch file names and the date gates over a private registry.
#include "platform/decimal/Decimal.h"
#include "recorder/settings/SettingsValues.h"
#include "recorder/update/DateGate.h"
#include "recorder/update/StartupChecks.h"
#include "recorder/update/UpdateCheck.h"
#include "recorder/update/VersionFile.h"
#include "tests/support/HiveEnv.h"

#include <gtest/gtest.h>

#include <climits>

// The program decides from this build setting whether to run the checks at all.
static_assert(QUOR_UPDATE_CHECKS == 0 || QUOR_UPDATE_CHECKS == 1);

namespace {
std::string Stored(const std::string& name) {
    std::string value = "<none>";
    ReadSettingString(name, value);
    return value;
}
} // namespace

TEST(Decimal, ReadsAsAtoiDoes) {
    EXPECT_EQ(DecimalValue(""), 0);
    EXPECT_EQ(DecimalValue("1020"), 1020);
    EXPECT_EQ(DecimalValue("1.0.2.1"), 1) << "a version with dots counts as its first number";
    EXPECT_EQ(DecimalValue("  -7days"), -7);
    EXPECT_EQ(DecimalValue("+15"), 15);
    EXPECT_EQ(DecimalValue("abc"), 0);
    EXPECT_EQ(DecimalValue("- 5"), 0);
    EXPECT_EQ(DecimalValue("99999999999999999999"), INT_MAX);
    EXPECT_EQ(DecimalValue("-99999999999999999999"), INT_MIN);
    EXPECT_EQ(DecimalValue("2147483648"), INT_MAX) << "one past the largest";
    EXPECT_EQ(DecimalValue("-2147483648"), INT_MIN) << "the smallest itself";
}

TEST(Decimal, OwnVersionIsTheFileVersionWithoutDots) {
    EXPECT_EQ(OwnVersionNumber(), 1020);
}

TEST(VersionFile, ReadsTheUpdateSectionAsTheProfileReaderDoes) {
    const VersionInfo info = ParseVersionText("\xEF\xBB\xBF; from the server\r\n"
                                              "[OTHER]\r\nver=9999\r\n"
                                              "[update]\r\n"
                                              "  VER = 1021 \r\n"
                                              "url=https://update.quortools.kr/p/patch.sh\r\n"
                                              "filename=\"patch.sh\"\r\n"
                                              "ver=5000\r\n"
                                              "[LATER]\r\nholddate=99\r\n");
    EXPECT_EQ(info.ver, "1021") << "section and key names ignore case; the first key counts";
    EXPECT_EQ(info.url, "https://update.quortools.kr/p/patch.sh");
    EXPECT_EQ(info.filename, "patch.sh");
    EXPECT_EQ(info.holddate, "") << "keys of other sections do not count";
}

TEST(VersionFile, MissingFileAndLongValues) {
    const VersionInfo none = ReadVersionFile("/nonexistent/version.ini");
    EXPECT_TRUE(none.ver.empty() && none.url.empty() && none.filename.empty() && none.holddate.empty());
    const VersionInfo longOne = ParseVersionText("[UPDATE]\nurl=" + std::string(400, 'a') + "\n");
    EXPECT_EQ(longOne.url.size(), 259u);
}

TEST(VersionFile, OnlyPlainFileNamesAreAcceptedForThePatch) {
    EXPECT_TRUE(IsSafePatchFileName("QuorRecorderPatch.sh"));
    EXPECT_TRUE(IsSafePatchFileName("patch-1.0.2.1"));
    for (const char* bad : {"", ".", "..", "../x.sh", "a/b.sh", "/tmp/x.sh", "a\\b", "x..sh", "C:x", "a\nb"})
        EXPECT_FALSE(IsSafePatchFileName(bad)) << bad;
}

TEST(DateGate, StoresTodayPlusTheWaitingPeriodInTheCalendar) {
    quortest::HiveEnv hive;
    EXPECT_EQ(DateNumber(QDate(2013, 11, 15)), 20131115);
    int ran = 0;
    EXPECT_EQ(RunDateGate("update", QDate(2013, 12, 30), [&] { return ++ran, 7; }), 1);
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(Stored("update"), "20140106");
}

TEST(DateGate, ADateNotBeforeTodayKeepsTheGateShut) {
    quortest::HiveEnv hive;
    WriteSettingString("update", "20131230");
    int ran = 0;
    EXPECT_EQ(RunDateGate("update", QDate(2013, 12, 30), [&] { return ++ran; }), 0);
    WriteSettingString("update", "20140105");
    EXPECT_EQ(RunDateGate("update", QDate(2013, 12, 30), [&] { return ++ran; }), 0);
    EXPECT_EQ(ran, 0) << "the check itself must not run";
    EXPECT_EQ(Stored("update"), "20140105");
}

TEST(DateGate, OneDayGateRunsOnTheFirstAndNextOnTheThird) {
    quortest::HiveEnv hive;
    EXPECT_EQ(Stored("upchkdate"), "<none>");
    EXPECT_EQ(UpdaterGate(QDate(2014, 3, 1)), 1) << "a missing value counts as 0";
    EXPECT_EQ(Stored("upchkdate"), "20140302");
    EXPECT_EQ(UpdaterGate(QDate(2014, 3, 1)), 0);
    EXPECT_EQ(UpdaterGate(QDate(2014, 3, 2)), 0);
    EXPECT_EQ(UpdaterGate(QDate(2014, 3, 3)), 1);
    EXPECT_EQ(Stored("upchkdate"), "20140304");
}

TEST(DateGate, AnyDueGateIsSeenWithoutBeingSpent) {
    quortest::HiveEnv hive;
    const QDate today(2014, 3, 1);
    for (const char* gate : {"upchkdate", "update", "actionapp"})
        WriteSettingString(gate, "20140301");
    EXPECT_FALSE(AnyStartupGateDue(today));
    for (const char* gate : {"upchkdate", "update", "actionapp"}) {
        WriteSettingString(gate, "20140228");
        EXPECT_TRUE(AnyStartupGateDue(today)) << gate;
        EXPECT_EQ(Stored(gate), "20140228") << "asking must not store a new date";
        WriteSettingString(gate, "20140301");
    }
}

TEST(DateGate, WaitingPeriodsStayWithinDates) {
    quortest::HiveEnv hive;
    EXPECT_EQ(RunDateGate("update", QDate(2014, 1, 1), [] { return 0; }), 1);
    EXPECT_EQ(Stored("update"), "20140101") << "0 days: the next later day runs it again";
    EXPECT_EQ(RunDateGate("update", QDate(2014, 1, 2), [] { return -30; }), 1);
    EXPECT_EQ(Stored("update"), "20140102") << "a negative period does not rerun the same day";
    EXPECT_EQ(RunDateGate("update", QDate(2014, 1, 3), [] { return INT_MAX; }), 1);
    EXPECT_EQ(Stored("update"), "20240101") << "held to ten years";
    EXPECT_EQ(Stored("update").size(), 8u);
}

TEST(DateGate, GarbageStoredDatesCountAsTheirLeadingNumber) {
    quortest::HiveEnv hive;
    WriteSettingString("actionapp", "junk");
    EXPECT_EQ(RunDateGate("actionapp", QDate(2014, 1, 1), [] { return 1; }), 1);
    EXPECT_EQ(Stored("actionapp"), "20140102");
}
