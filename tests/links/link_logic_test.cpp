#include "app/link_logic.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace veskra {
namespace {

using namespace std::string_literals;

// A test name from a case description: letters and digits, the rest '_'.
std::string CaseName(const char* what) {
  std::string name;
  for (const char ch : std::string(what)) {
    name += (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ? ch : '_';
  }
  return name;
}

struct FilterCase {
  const char* what;
  std::string filter;
  int initial;
  std::string entries;
  int index;
};

void PrintTo(const FilterCase& c, std::ostream* os) { *os << c.what; }

class FilterListTest : public testing::TestWithParam<FilterCase> {};

TEST_P(FilterListTest, BuildsPairsEndedByAnEmptyEntry) {
  const FilterCase& c = GetParam();
  const FilterList list = BuildFilterList(c.filter, c.initial);
  EXPECT_EQ(list.entries, c.entries);
  EXPECT_EQ(list.index, c.index);
}

// "文本文件" in GBK is CE C4 B1 BE CE C4 BC FE; "表" is B1 ED; "纠" is BE C0;
// "|" (0x7C) can be the second byte of a GBK character, e.g. "亅" 81 7C.
INSTANTIATE_TEST_SUITE_P(
    Cases, FilterListTest,
    testing::Values(
        FilterCase{"book filter", "\xCE\xC4\xB1\xBE\xCE\xC4\xBC\xFE|*.txt", 0,
                   "\xCE\xC4\xB1\xBE\xCE\xC4\xBC\xFE\0*.txt\0\0"s, 1},
        FilterCase{"already ended", "Text|*.txt||", 0, "Text\0*.txt\0\0"s, 1},
        FilterCase{"trailing white space", "Text|*.txt \t\r\n", 0, "Text\0*.txt\0\0"s, 1},
        FilterCase{"two pairs, second first", "Text|*.txt|All|*.*", 1, "Text\0*.txt\0All\0*.*\0\0"s,
                   2},
        FilterCase{"negative start counts as 0", "Text|*.txt", -5, "Text\0*.txt\0\0"s, 1},
        FilterCase{"trail byte 7C is no separator", "\x81|x|*.txt", 0, "\x81|x\0*.txt\0\0"s, 1},
        FilterCase{"lead byte last", "Text|\xCE", 0, "Text\0\xCE|\0"s, 1},
        FilterCase{"empty", "", 0, "", 0}, FilterCase{"only white space", " \t ", 3, "", 0}),
    [](const testing::TestParamInfo<FilterCase>& param_info) {
      return CaseName(param_info.param.what);
    });

struct CommandCase {
  const char* what;
  std::wstring registered;
  std::wstring expected;
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.what; }

class BrowserCommandTest : public testing::TestWithParam<CommandCase> {};

TEST_P(BrowserCommandTest, CutsAtPercentOneAndAppendsTheAddress) {
  const CommandCase& c = GetParam();
  const auto line = BrowserCommandLine(c.registered, L"http://bbs.veskra.example/");
  ASSERT_TRUE(line.has_value());
  EXPECT_EQ(*line, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrowserCommandTest,
    testing::Values(
        CommandCase{"quoted", L"\"C:\\Program Files\\Web\\web.exe\" -nohome \"%1\"",
                    L"\"C:\\Program Files\\Web\\web.exe\" -nohome  http://bbs.veskra.example/"},
        CommandCase{"unquoted", L"C:\\web\\web.exe -url %1 -new",
                    L"C:\\web\\web.exe -url  http://bbs.veskra.example/"},
        CommandCase{"quoted wins over an earlier bare one", L"web.exe %1 \"%1\"",
                    L"web.exe %1  http://bbs.veskra.example/"},
        CommandCase{"quote only before", L"web.exe \"%1 x",
                    L"web.exe \" http://bbs.veskra.example/"},
        CommandCase{"none", L"\"C:\\web\\web.exe\"",
                    L"\"C:\\web\\web.exe\" http://bbs.veskra.example/"},
        CommandCase{"empty", L"", L" http://bbs.veskra.example/"}),
    [](const testing::TestParamInfo<CommandCase>& param_info) {
      return CaseName(param_info.param.what);
    });

TEST(BrowserCommandLineTest, OverLongRegisteredCommandFails) {
  const std::wstring registered = L"\"C:\\" + std::wstring(3000, L'w') + L".exe\" \"%1\"";
  EXPECT_EQ(BrowserCommandLine(registered, L"http://bbs.veskra.example/"), std::nullopt);
}

TEST(BrowserCommandLineTest, FillsTheBufferExactlyAndNotOneMore) {
  // "ab" + " " + "xyz" + NUL is 7 characters.
  EXPECT_EQ(BrowserCommandLine(L"ab %1", L"xyz", 8), std::wstring(L"ab  xyz"));
  EXPECT_EQ(BrowserCommandLine(L"ab", L"xyz", 7), std::wstring(L"ab xyz"));
  EXPECT_EQ(BrowserCommandLine(L"ab", L"xyz", 6), std::nullopt);
  EXPECT_EQ(BrowserCommandLine(L"ab", L"", 4), std::wstring(L"ab "));
  EXPECT_EQ(BrowserCommandLine(L"ab", L"", 3), std::nullopt);
  EXPECT_EQ(BrowserCommandLine(L"abc", L"", 3), std::nullopt);
  EXPECT_EQ(BrowserCommandLine(L"", L"", 0), std::nullopt);
}

TEST(BrowserCommandLineTest, OverLongAddressFails) {
  const std::wstring address = L"http://" + std::wstring(kBrowserCommandCapacity, L'a');
  EXPECT_EQ(BrowserCommandLine(L"web.exe \"%1\"", address), std::nullopt);
}

}  // namespace
}  // namespace veskra
