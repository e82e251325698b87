// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegistryDocument.h"

#include "crypto/AsciiCase.h"
#include "platform/Utf16.h"
#include "support/RegistryTexts.h"

#include <gtest/gtest.h>
#include <random>

namespace kelvane {
namespace {

using testing_support::RegistryTextGenerator;

const std::string kHeader = "Windows Registry Editor Version 5.00\n";

// Saving and reading back must give exactly what was read: every key in its
// order and spelling, every value byte for byte.
void ExpectSaveKeepsAll(const RegistryDocument& document, const std::string& source) {
    const std::string saved = document.Serialize();
    const RegistryDocument reread = RegistryDocument::Parse(saved);
    ASSERT_EQ(reread.Keys(), document.Keys()) << "read from:\n"
                                              << source << "\nsaved as:\n"
                                              << saved;
    EXPECT_EQ(reread.Serialize(), saved);
}

// Changing one value rewrites that value's line and nothing else: the rest
// of the text (comments, other roots, broken lines, line ends) is the same
// before and after the change.
void ExpectChangeTouchesOneLine(const RegistryDocument& document, const std::string& text,
                                std::mt19937& random) {
    std::vector<std::pair<std::string, std::string>> named;
    for (const auto& key : document.Keys())
        for (const auto& entry : key.entries)
            named.emplace_back(key.path, entry.name);
    if (named.empty())
        return;
    const auto& [path, name] = named[random() % named.size()];
    RegistryDocument changed = document;
    const RegValue value = RegValue::Integer(document.Find(path, name)->number + 1);
    changed.Set(path, name, value);
    const std::string saved = changed.Serialize();

    std::size_t prefix = 0;
    while (prefix < text.size() && prefix < saved.size() && text[prefix] == saved[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < text.size() - prefix && suffix < saved.size() - prefix &&
           text[text.size() - 1 - suffix] == saved[saved.size() - 1 - suffix])
        ++suffix;
    const std::string written = saved.substr(prefix, saved.size() - prefix - suffix);
    EXPECT_EQ(written.find('\n'), std::string::npos) << "only one line changes:\n" << saved;
    const RegistryDocument reread = RegistryDocument::Parse(saved);
    for (const auto& key : document.Keys())
        for (const auto& entry : key.entries) {
            const bool isChanged = AsciiLowered(key.path) == AsciiLowered(path) &&
                                   AsciiLowered(entry.name) == AsciiLowered(name);
            ASSERT_NE(reread.Find(key.path, entry.name), nullptr) << saved;
            EXPECT_EQ(*reread.Find(key.path, entry.name), isChanged ? value : entry.value)
                << entry.name << " in\n"
                << saved;
        }
}

// A value in a key the file lacks goes to the end of the file, in the
// file's own line ends; what stood there before is kept as it was.
void ExpectNewKeyAppends(const RegistryDocument& document, const std::string& text) {
    RegistryDocument changed = document;
    changed.Set("kelvane test\\added", "New", RegValue::Integer(1));
    const std::string saved = changed.Serialize();
    ASSERT_TRUE(saved.starts_with(text)) << saved;
    const std::size_t headerEnd = text.find('\n', text.find_first_not_of(" \n"));
    const bool crlf = headerEnd != std::string::npos && text[headerEnd - 1] == '\r';
    const std::string added = saved.substr(text.size());
    for (std::size_t at = added.find('\n'); at != std::string::npos; at = added.find('\n', at + 1))
        EXPECT_EQ(at > 0 && added[at - 1] == '\r', crlf) << saved;
    EXPECT_EQ(*RegistryDocument::Parse(saved).Find("kelvane test\\added", "New"),
              RegValue::Integer(1));
}

TEST(RegistryRoundTrip, SavingKeepsEverythingReadFromGeneratedFiles) {
    const unsigned seed = std::random_device{}();
    std::printf("registry round trip seed %u\n", seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    RegistryTextGenerator generate(seed);
    std::mt19937 random(seed);
    std::size_t values = 0;
    for (int round = 0; round < 2000; ++round) {
        const std::string text = generate.File();
        const RegistryDocument document = RegistryDocument::Parse(text);
        ExpectSaveKeepsAll(document, text);
        // Comments, other roots, unknown lines and CRLF line ends come back
        // byte for byte.
        EXPECT_EQ(document.Serialize(), text);
        ExpectChangeTouchesOneLine(document, text, random);
        ExpectNewKeyAppends(document, text);
        if (::testing::Test::HasFailure())
            return;
        for (const auto& key : document.Keys())
            values += key.entries.size();
    }
    EXPECT_GT(values, 2000u) << "the generated files should mostly be readable";
}

// A value whose continuation backslash is the last thing in the file reads
// the same once a save adds lines behind it, in its own key or a new one.
TEST(RegistryRoundTrip, AValueCutShortAtTheEndReadsTheSameAfterASave) {
    const std::string texts[] = {
        kHeader + "[HKEY_CLASSES_ROOT\\k]\n\"y\"=\"q\"\n\"y\"=\"=hex\\\\\"\\",
        kHeader + "[HKEY_CLASSES_ROOT\\k]\n\"b\"=hex(7):ac,02\\\n",
    };
    for (const std::string& text : texts)
        for (const char* path : {"k", "other"}) {
            const RegistryDocument document = RegistryDocument::Parse(text);
            RegistryDocument changed = document;
            changed.Set(path, "ShowCry", RegValue::Integer(7));
            const std::string saved = changed.Serialize();
            const RegistryDocument reread = RegistryDocument::Parse(saved);
            ASSERT_NE(reread.Find(path, "ShowCry"), nullptr) << saved;
            EXPECT_EQ(*reread.Find(path, "ShowCry"), RegValue::Integer(7)) << saved;
            for (const auto& entry : document.Keys().at(0).entries) {
                ASSERT_NE(reread.Find("k", entry.name), nullptr) << saved;
                EXPECT_EQ(*reread.Find("k", entry.name), entry.value) << saved;
            }
        }
}

// A carriage return in a quoted string can't stay raw in a hex(1) line, but
// the hex form must not change what was read.
TEST(RegistryRoundTrip, StringsWithLineBreaksComeBackByteForByte) {
    const std::vector<std::string> texts = {
        "one\rtwo",                             // plain text: the hex form holds it
        std::string("ends in NUL\r\0\0", 15),   // trailing NULs vanish in hex(1)
        "not UTF-8 \xFF\xFE\r\xC3",             // no UTF-16 form is exact
        "\xED\xA0\x80\r lone surrogate bytes"}; // would pair up with a neighbour
    for (const std::string& text : texts) {
        RegistryDocument document;
        document.Set("k", "v", RegValue::String(text));
        const RegistryDocument reread = RegistryDocument::Parse(document.Serialize());
        ASSERT_NE(reread.Find("k", "v"), nullptr) << document.Serialize();
        EXPECT_EQ(reread.Find("k", "v")->text, text) << document.Serialize();
    }
    RegistryDocument plain;
    plain.Set("k", "v", RegValue::String("one\r\ntwo"));
    EXPECT_NE(plain.Serialize().find("=hex(1):6f,00,6e,00,65,00,0d,00,0a,00"), std::string::npos);
}

TEST(RegistryRoundTrip, HexStringsKeepWhatTheirUnitsSay) {
    // A lone high surrogate, a pair, a NUL inside, extra NULs and an odd byte.
    const RegistryDocument document = RegistryDocument::Parse(
        kHeader + "[HKEY_CLASSES_ROOT\\k]\n\"S\"=hex(1):00,d8,41,00,3d,d8,12,de,00,00,42,00,\\\n"
                  "  00,00,00,00,07\n\"E\"=hex(2):00,dc,0d,00,0a,00\n");
    ASSERT_NE(document.Find("k", "S"), nullptr);
    // U+D800 alone, "A", U+1F612 from its pair, NUL, "B".
    const std::string expected("\xED\xA0\x80"
                               "A"
                               "\xF0\x9F\x98\x92"
                               "\0"
                               "B",
                               10);
    EXPECT_EQ(document.Find("k", "S")->text, expected);
    ASSERT_NE(document.Find("k", "E"), nullptr);
    EXPECT_EQ(document.Find("k", "E")->text, "\xED\xB0\x80\r\n");
    ExpectSaveKeepsAll(document, "");
}

TEST(Utf16, UnitsComeBackExactlyThroughUtf8) {
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> units(static_cast<std::size_t>(2 * (round % 9)));
        for (auto& byte : units)
            byte = static_cast<uint8_t>(random());
        for (std::size_t i = 1; i < units.size(); i += 2)
            if (random() % 2)
                units[i] = static_cast<uint8_t>(0xD8 + random() % 8); // surrogates often
        EXPECT_EQ(Utf8ToUtf16Le(Utf16LeToUtf8(units.data(), units.size())), units);
        // The same text from code units in memory, appended to a string.
        std::u16string text;
        for (std::size_t i = 0; i + 1 < units.size(); i += 2)
            text.push_back(static_cast<char16_t>(units[i] | units[i + 1] << 8));
        std::string appended = "x";
        AppendUtf8Of(text, appended);
        EXPECT_EQ(appended, "x" + Utf16LeToUtf8(units.data(), units.size()));
    }
    const uint8_t odd[] = {0x41, 0x00, 0x42};
    EXPECT_EQ(Utf16LeToUtf8(odd, 3), "A");
}

// ---- large files -----------------------------------------------------------

TEST(RegistryLargeFiles, EveryOneOfManyValuesAndKeysIsFound) {
    std::string text = kHeader + "[HKEY_CLASSES_ROOT\\big]\n";
    for (int n = 0; n < 40000; ++n)
        text += "\"Value" + std::to_string(n) + "\"=dword:0000" + (n % 2 ? "0001\n" : "0000\n");
    for (int n = 0; n < 20000; ++n)
        text += "[HKEY_CLASSES_ROOT\\many\\k" + std::to_string(n) + "]\n";
    text += "[HKEY_CLASSES_ROOT\\BIG]\n\"VALUE7\"=dword:00000007\n"; // the same key, folded
    const RegistryDocument document = RegistryDocument::Parse(text);

    ASSERT_EQ(document.Keys().size(), 20001u);
    ASSERT_EQ(document.Keys()[0].entries.size(), 40000u);
    for (int n = 0; n < 40000; n += 997) {
        const RegValue* value = document.Find("Big", "value" + std::to_string(n));
        ASSERT_NE(value, nullptr) << n;
        EXPECT_EQ(value->number, n == 7 ? 7u : static_cast<uint32_t>(n % 2));
    }
    EXPECT_EQ(document.Keys()[0].entries[7].name, "Value7") << "first spelling kept";
    EXPECT_TRUE(document.HasKey("MANY\\k19999"));
    EXPECT_TRUE(document.HasKey("many"));
    EXPECT_FALSE(document.HasKey("many\\k2000\\x"));
    EXPECT_FALSE(document.HasKey("man"));
    EXPECT_EQ(document.Find("big", "Value40000"), nullptr);
}

TEST(RegistryLargeFiles, ALongNameWithManyContinuationLinesReadsWhole) {
    std::string text =
        kHeader + "[HKEY_CLASSES_ROOT\\k]\n\"" + std::string(300000, 'n') + "\"=hex:";
    for (int n = 0; n < 50000; ++n)
        text += "01,\\\n  ";
    text += "02\n\"After\"=dword:00000001\n";
    const RegistryDocument document = RegistryDocument::Parse(text);
    const RegValue* value = document.Find("k", std::string(300000, 'N'));
    ASSERT_NE(value, nullptr);
    ASSERT_EQ(value->bytes.size(), 50001u);
    EXPECT_EQ(value->bytes.back(), 0x02);
    EXPECT_NE(document.Find("k", "After"), nullptr);
}

// Only ASCII letters fold: what the program reads must not depend on the
// locale a library happened to set.
TEST(RegistryLargeFiles, OnlyAsciiLettersCompareWithoutCase) {
    RegistryDocument document;
    document.Set("K\xC3\x9C", "N\xC3\x9C", RegValue::Integer(1));
    EXPECT_NE(document.Find("k\xC3\x9C", "n\xC3\x9C"), nullptr);
    EXPECT_EQ(document.Find("k\xC3\xBC", "N\xC3\x9C"), nullptr);
    EXPECT_EQ(AsciiLowered("AbZ[`@\xC3\x9C"), "abz[`@\xC3\x9C");
}

} // namespace
} // namespace kelvane
