// The .reg-style hive text: what it holds, what it refuses, and that no cut-off file passes.
#include "platform/registry/HiveText.h"

#include <gtest/gtest.h>

#include <random>

using namespace platform;

namespace {

std::vector<BYTE> Bytes(std::string_view text, bool withNull) {
    std::vector<BYTE> bytes(text.begin(), text.end());
    if (withNull)
        bytes.push_back(0);
    return bytes;
}

Hive SampleHive() {
    Hive hive;
    HiveKey& recorder = hive.Create({"Software", "QuorRecorder"});
    recorder.SetValue("Savepath", REG_SZ, Bytes(R"(/home/mina/"음악"\녹음)", true));
    recorder.SetValue("FileTypeSel", REG_DWORD, {0x01, 0x00, 0x00, 0x00});
    recorder.SetValue("FileSettingSel", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF});
    recorder.SetValue("", REG_SZ, Bytes("default value", true));
    recorder.SetValue("Lines", REG_SZ, Bytes("first\nsecond", true));
    recorder.SetValue("NoNull", REG_SZ, Bytes("abc", false));
    recorder.SetValue("Short", REG_DWORD, {0x07});
    recorder.SetValue("Blob", REG_BINARY, {0x00, 0xAB, 0xFF});
    recorder.SetValue("Empty", REG_BINARY, {});
    recorder.SetValue("Expand", 2, Bytes("%HOME%", true));
    hive.Create({"Software", "Quortools"}).SetValue("Install_dir", REG_SZ, Bytes("/opt/quor", true));
    hive.Create({"Software", "Empty key"});
    hive.root.SetValue("AtRoot", REG_DWORD, {1, 2, 3, 4});
    return hive;
}

} // namespace

TEST(HiveText, EveryKindOfValueRoundTrips) {
    const Hive hive = SampleHive();
    const std::string text = FormatHiveText(hive);
    auto parsed = ParseHiveText(text);
    ASSERT_TRUE(parsed) << text;
    EXPECT_EQ(*parsed, hive) << text;

    // Plain values are written as a .reg export writes them.
    EXPECT_TRUE(text.starts_with("Windows Registry Editor Version 5.00\n")) << text;
    EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\QuorRecorder]\n"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("Savepath"="/home/mina/\"음악\"\\녹음")"), std::string::npos) << text;
    EXPECT_NE(text.find("\"FileSettingSel\"=dword:ffffffff\n"), std::string::npos) << text;
    EXPECT_NE(text.find("@=\"default value\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Blob\"=hex:00,ab,ff\n"), std::string::npos) << text;
    // What a quoted string cannot hold goes as bytes, so nothing is lost or breaks a line.
    EXPECT_NE(text.find("\"Lines\"=hex(1):"), std::string::npos) << text;
    EXPECT_NE(text.find("\"NoNull\"=hex(1):61,62,63\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Short\"=hex(4):07\n"), std::string::npos) << text;
}

TEST(HiveText, AcceptsWhatOtherEditorsWrite) {
    const std::string text = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                             "; exported by hand\r\n"
                             "[HKEY_CURRENT_USER\\Software\\QuorRecorder]\r\n"
                             "\"FileTypeSel\"=dword:2\r\n"
                             "\"Blob\"=hex:01,02,\\\r\n"
                             "  03,04\r\n"
                             "[hkey_current_user\\software\\QUORRECORDER]\r\n"
                             "\"filetypesel\"=dword:00000001\r\n"
                             "; end of hive\r\n\r\n";
    auto hive = ParseHiveText(text);
    ASSERT_TRUE(hive);
    const HiveKey* key = hive->Find({"SOFTWARE", "quorrecorder"});
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(key->values.size(), 2u); // names compare without case: one key, one FileTypeSel
    EXPECT_EQ(key->values[0].name, "FileTypeSel");
    EXPECT_EQ(key->values[0].data, (std::vector<BYTE>{1, 0, 0, 0}));
    EXPECT_EQ(key->values[1].data, (std::vector<BYTE>{1, 2, 3, 4}));
}

TEST(HiveText, RefusesWhatIsNotACompleteHive) {
    const std::string head = "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n";
    const std::string end = "; end of hive\n";
    std::vector<std::string> bad = {
        "",
        "garbage",
        head,                                               // no end marker
        head + "\"a\"=dword:1\n" + end + "\"b\"=dword:2\n", // text after the end
        "Windows Registry Editor Version 4.00\n" + end,     // other header
        head + "\"a\"=dword:123456789\n" + end,             // nine digits
        head + "\"a\"=dword:xyz\n" + end,
        head + "\"a\"=\"unterminated\n" + end,
        head + "\"a\"=\"bad \\escape\"\n" + end,
        head + "\"a\"=\"x\" trailing\n" + end,
        head + "\"a\"=hex:1,2\n" + end,
        head + "\"a\"=hex:01,\\\n" + end, // continuation into the marker
        head + "\"a\"=-\n" + end,         // deletions are import syntax
        head + "[-HKEY_CURRENT_USER\\Software]\n" + end,
        head + "[HKEY_LOCAL_MACHINE\\Software]\n" + end,
        head + "[HKEY_CURRENT_USER\\\\Software]\n" + end, // empty key name
        head + "[HKEY_CURRENT_USERX]\n" + end,
        "Windows Registry Editor Version 5.00\n\"orphan\"=dword:1\n" + end,
        head + "\"a\"=\"\xC3\x28\"\n" + end, // invalid UTF-8
        head + std::string("\"a\"=\"nul\0\"\n", 11) + end,
    };
    std::string deep = "[HKEY_CURRENT_USER";
    for (size_t level = 0; level <= kMaxKeyDepth; ++level)
        deep += "\\k";
    bad.push_back(head + deep + "]\n" + end); // deeper than the registry allows
    bad.push_back(head + "[HKEY_CURRENT_USER\\" + std::string(256, 'n') + "]\n" + end); // key name too long
    for (const auto& text : bad)
        EXPECT_FALSE(ParseHiveText(text)) << text.substr(0, 200);
}

TEST(HiveText, NoCutOfAHiveParses) {
    const std::string text = FormatHiveText(SampleHive());
    for (size_t cut = 0; cut + 1 < text.size(); ++cut)
        EXPECT_FALSE(ParseHiveText(text.substr(0, cut))) << "cut at " << cut;
}

TEST(HiveText, RandomBytesNeverParse) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    for (int round = 0; round < 200; ++round) {
        std::string bytes(1 + random() % 4096, '\0');
        for (auto& byte : bytes)
            byte = static_cast<char>(random());
        EXPECT_FALSE(ParseHiveText(bytes));
    }
}

TEST(HiveText, SectionsVisitedAgainAfterTheirSiblingsGrewMergeIntoTheirKey) {
    std::string text = "Windows Registry Editor Version 5.00\n\n";
    for (int round = 0; round < 3; ++round) {
        for (int sibling = 0; sibling < 40; ++sibling) {
            text += "[HKEY_CURRENT_USER\\Software\\K" + std::to_string(sibling) + "]\n";
            text += "\"R" + std::to_string(round) + "\"=dword:" + std::to_string(sibling) + "\n";
        }
    }
    text += "; end of hive\n";
    auto hive = ParseHiveText(text);
    ASSERT_TRUE(hive);
    ASSERT_EQ(hive->Find({"Software"})->subkeys.size(), 40u);
    for (int sibling = 0; sibling < 40; ++sibling) {
        const HiveKey* key = hive->Find({"Software", "K" + std::to_string(sibling)});
        ASSERT_NE(key, nullptr);
        ASSERT_EQ(key->values.size(), 3u);
        EXPECT_EQ(key->values[2].name, "R2");
        EXPECT_EQ(key->values[2].data[0], std::stoi(std::to_string(sibling), nullptr, 16));
    }
}
