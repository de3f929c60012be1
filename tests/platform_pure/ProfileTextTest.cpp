#include <gtest/gtest.h>

#include <string>

#include "platform/ProfileText.h"

namespace kvlink {
namespace {

struct LookupCase {
  const char* what;
  std::string text;
  const char* section;
  const char* key;
  std::string expected;
};

void PrintTo(const LookupCase& c, std::ostream* os) {
  *os << c.what;
}

const std::string kLongValue(300, 'x');

const LookupCase kLookupCases[] = {
    {"plain value", "[Settings]\nport=2\n", "Settings", "port", "2"},
    {"section name case", "[SETTINGS]\nport=2\n", "settings", "port", "2"},
    {"key name case", "[Settings]\nPoRt=2\n", "Settings", "PORT", "2"},
    {"blanks around names in the file", "  [ Settings ]  \n  port  =2\n", "Settings", "port", "2"},
    {"blanks around names asked for", "[Settings]\nport=2\n", " Settings ", " port ", "2"},
    {"blank inside a key", "[SetPoints]\nService Factor=115\n", "SetPoints", "service factor",
     "115"},
    {"blanks inside count", "[SetPoints]\nService Factor=115\n", "SetPoints", "ServiceFactor", ""},
    {"blanks inside a long key", "[Misc]\nMode8 Level 1 = 7\n", "misc", "MODE8 LEVEL 1", "7"},
    {"outer blanks of the value trimmed", "[S]\nk=  a b  \n", "S", "k", "a b"},
    {"double quotes removed", "[S]\nk=\"C:\\data dir\"\n", "S", "k", "C:\\data dir"},
    {"single quotes removed", "[S]\nk='hello'\n", "S", "k", "hello"},
    {"quotes outside blanks removed", "[S]\nk= \" padded \" \n", "S", "k", " padded "},
    {"only one pair of quotes removed", "[S]\nk=\"\"x\"\"\n", "S", "k", "\"x\""},
    {"unmatched quote kept", "[S]\nk=\"open\n", "S", "k", "\"open"},
    {"mixed quotes kept", "[S]\nk=\"mixed'\n", "S", "k", "\"mixed'"},
    {"a lone quote kept", "[S]\nk=\"\n", "S", "k", "\""},
    {"no inline comments", "[S]\nk=5 ; five\n", "S", "k", "5 ; five"},
    {"value runs past later equals signs", "[S]\nk=a=b\n", "S", "k", "a=b"},
    {"empty value", "[S]\nk=\n", "S", "k", ""},
    {"value cut to 255", "[S]\nk=" + kLongValue + "\n", "S", "k", std::string(255, 'x')},
    {"value of 255 kept", "[S]\nk=" + std::string(255, 'y') + "\n", "S", "k",
     std::string(255, 'y')},
    {"cut after the quotes are removed", "[S]\nk=\"" + kLongValue + "\"\n", "S", "k",
     std::string(255, 'x')},
    {"first of duplicate keys", "[S]\nk=1\nk=2\n", "S", "k", "1"},
    {"first of duplicate sections only", "[S]\na=1\n[T]\n[s]\nb=2\n", "S", "b", ""},
    {"first of duplicate sections value", "[S]\nk=1\n[S]\nk=2\n", "S", "k", "1"},
    {"CR LF line ends", "[S]\r\nk=1\r\nm=2\r\n", "S", "m", "2"},
    {"mixed line ends", "[S]\nk=1\r\n[T]\r\nm=2\n", "T", "m", "2"},
    {"last line without a line end", "[S]\nk=1", "S", "k", "1"},
    {"missing section", "[S]\nk=1\n", "T", "k", ""},
    {"missing key", "[S]\nk=1\n", "S", "m", ""},
    {"key of another section", "[S]\nk=1\n[T]\nm=2\n", "S", "m", ""},
    {"key before any section", "k=1\n[S]\n", "S", "k", ""},
    {"empty text", "", "S", "k", ""},
    {"comment is no key", "[S]\n;k=1\n k=2\n", "S", "k", "2"},
    {"indented comment is no key", "[S]\n  ;k=1\n", "S", "k", ""},
    {"line without equals ignored", "[S]\ngarbage\nk=1\n", "S", "k", "1"},
    {"section text after the bracket", "[S] ; the settings\nk=1\n", "S", "k", "1"},
    {"byte order mark before the first section", "\xEF\xBB\xBF[S]\nk=1\n", "S", "k", "1"},
};

class ProfileLookupTest : public testing::TestWithParam<LookupCase> {};

TEST_P(ProfileLookupTest, FindsTheValue) {
  const LookupCase& c = GetParam();
  EXPECT_EQ(profileLookup(c.text, c.section, c.key), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileLookupTest, testing::ValuesIn(kLookupCases));

struct EditCase {
  const char* what;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
};

void PrintTo(const EditCase& c, std::ostream* os) {
  *os << c.what;
}

const EditCase kEditCases[] = {
    {"new file", "", "Settings", "port", "1", "[Settings]\r\nport=1\r\n"},
    {"empty value", "", "S", "k", "", "[S]\r\nk=\r\n"},
    {"value written unchanged", "", "S", "k", " \"q\" ", "[S]\r\nk= \"q\" \r\n"},
    {"existing key keeps its spelling and end", "[S]\nA=0\n  PoRt = 1 \nB=2\n", "s", "port", "3",
     "[S]\nA=0\nPoRt=3\r\nB=2\n"},
    {"existing key in a CR LF file", "[S]\r\nk=1\r\n", "S", "k", "22", "[S]\r\nk=22\r\n"},
    {"existing last line without line end", "[S]\nk=1", "S", "k", "2", "[S]\nk=2\r\n"},
    {"first of duplicate keys replaced", "[S]\nk=1\nk=2\n", "S", "k", "9", "[S]\nk=9\r\nk=2\n"},
    {"first of duplicate sections used", "[S]\na=1\n[S]\nk=2\n", "S", "k", "3",
     "[S]\na=1\nk=3\r\n[S]\nk=2\n"},
    {"new key after the last key, before blanks", "[S]\na=1\n\n\n[T]\nb=2\n", "S", "c", "3",
     "[S]\na=1\nc=3\r\n\n\n[T]\nb=2\n"},
    {"new key before a comment of the next section", "[S]\na=1\n; about T\n[T]\n", "S", "c", "3",
     "[S]\na=1\nc=3\r\n; about T\n[T]\n"},
    {"new key after stray lines only if they are keys", "[S]\na=1\nnoise\n[T]\n", "S", "c", "3",
     "[S]\na=1\nc=3\r\nnoise\n[T]\n"},
    {"new key in a section without keys", "[S]\n\n[T]\nb=2\n", "S", "k", "1",
     "[S]\nk=1\r\n\n[T]\nb=2\n"},
    {"new key in the last section", "[S]\na=1\n", "S", "b", "2", "[S]\na=1\nb=2\r\n"},
    {"new key after a last line without line end", "[S]\na=1", "S", "b", "2",
     "[S]\na=1\r\nb=2\r\n"},
    {"new key under a header without line end", "[S]", "S", "b", "2", "[S]\r\nb=2\r\n"},
    {"new section after a blank line", "[S]\na=1\n\n", "T", "k", "v", "[S]\na=1\n\n[T]\r\nk=v\r\n"},
    {"new section gets a blank line", "[S]\na=1\n", "T", "k", "v", "[S]\na=1\n\r\n[T]\r\nk=v\r\n"},
    {"new section after a last line without end", "[S]\na=1", "T", "k", "v",
     "[S]\na=1\r\n\r\n[T]\r\nk=v\r\n"},
    {"new section name trimmed", "", " T ", " k ", "v", "[T]\r\nk=v\r\n"},
    {"byte order mark kept", "\xEF\xBB\xBF[S]\na=1\n", "S", "a", "2", "\xEF\xBB\xBF[S]\na=2\r\n"},
};

class ProfileEditTest : public testing::TestWithParam<EditCase> {};

TEST_P(ProfileEditTest, PlacesTheLine) {
  const EditCase& c = GetParam();
  EXPECT_EQ(profileWithValue(c.before, c.section, c.key, c.value), c.after) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileEditTest, testing::ValuesIn(kEditCases));

// A file as an operator might leave it after editing it by hand.
const std::string kHandEdited =
    "; KV-LINK27 settings, edited by hand\n"
    "\n"
    "[Settings]\n"
    "port = 1   \n"
    "; DF1 needs a check mode\n"
    "checkmode=0\n"
    "\n"
    "[Station]\r\n"
    "station1 = \"Pump house\"\r\n"
    "   \r\n"
    "[misc]\n"
    "kesf=abc\n";

TEST(ProfileEdit, HandEditedFileKeepsEveryOtherByte) {
  std::string text = kHandEdited;
  text = profileWithValue(text, "settings", "PORT", "3");
  text = profileWithValue(text, "Settings", "baud", "96");
  text = profileWithValue(text, "Station", "station2", "Feeder 2");
  text = profileWithValue(text, "Station", "station1", "Pump house");
  text = profileWithValue(text, "Misc", "gene", "");
  text = profileWithValue(text, "Settings", "autostart", "1");

  EXPECT_EQ(text,
            "; KV-LINK27 settings, edited by hand\n"
            "\n"
            "[Settings]\n"
            "port=3\r\n"
            "; DF1 needs a check mode\n"
            "checkmode=0\n"
            "baud=96\r\n"
            "autostart=1\r\n"
            "\n"
            "[Station]\r\n"
            "station1=Pump house\r\n"
            "station2=Feeder 2\r\n"
            "   \r\n"
            "[misc]\n"
            "kesf=abc\n"
            "gene=\r\n");
  EXPECT_EQ(profileLookup(text, "Settings", "port"), "3");
  EXPECT_EQ(profileLookup(text, "Settings", "checkmode"), "0");
  EXPECT_EQ(profileLookup(text, "misc", "gene"), "");
  EXPECT_EQ(profileLookup(text, "misc", "kesf"), "abc");
}

TEST(ProfileEdit, WrittenValuesReadBackAndLeaveOthersAlone) {
  const char* const values[] = {"0",    "", "Pump house 3", "a=b", "C:\\temp\\", "; not a comment",
                                "x y z"};
  std::string text = kHandEdited;
  for (const char* value : values) {
    text = profileWithValue(text, "Station", "station9", value);
    EXPECT_EQ(profileLookup(text, "Station", "station9"), value);
    EXPECT_EQ(profileLookup(text, "Station", "station1"), "Pump house");
    EXPECT_EQ(profileLookup(text, "Settings", "port"), "1");
  }
  // Rewriting the same key again and again changes one line, not the length.
  EXPECT_EQ(text.size(), profileWithValue(text, "Station", "station9", "x y z").size());
}

struct EntryCase {
  const char* what;
  std::string section;
  std::string key;
  std::string value;
  bool writable;
};

void PrintTo(const EntryCase& c, std::ostream* os) {
  *os << c.what;
}

const EntryCase kEntryCases[] = {
    {"ordinary", "Settings", "port", "1", true},
    {"empty value", "Settings", "port", "", true},
    {"blank inside names", "Set Points", "Service Factor", "1", true},
    {"empty section", "", "port", "1", false},
    {"blank section", "  ", "port", "1", false},
    {"empty key", "Settings", "", "1", false},
    {"line feed in the value", "Station", "station1", "x\n[misc]\nkesf=", false},
    {"carriage return in the value", "Station", "station1", "x\ry", false},
    {"NUL in the value", "Station", "station1", std::string("x\0y", 3), false},
    {"line feed in the key", "S", "a\nb", "1", false},
    {"bracket in the section", "S]x", "k", "1", false},
    {"equals in the key", "S", "a=b", "1", false},
    {"key read as a comment", "S", ";k", "1", false},
    {"key read as a section", "S", "[k", "1", false},
};

class ProfileEntryTest : public testing::TestWithParam<EntryCase> {};

TEST_P(ProfileEntryTest, OnlyEntriesThatReadBackAreWritable) {
  const EntryCase& c = GetParam();
  EXPECT_EQ(isWritableProfileEntry(c.section, c.key, c.value), c.writable) << c.what;
  if (c.writable) {
    const std::string text = profileWithValue("", c.section, c.key, c.value);
    EXPECT_EQ(profileLookup(text, c.section, c.key), c.value) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileEntryTest, testing::ValuesIn(kEntryCases));

}  // namespace
}  // namespace kvlink
