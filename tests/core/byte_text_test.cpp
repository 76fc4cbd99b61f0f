#include "text/byte_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace veskra {
namespace {

TEST(ByteText, EqualityAndCount) {
  EXPECT_EQ(ByteCount(""), 0);
  EXPECT_EQ(ByteCount("\xB0\xA1x"), 3);
  EXPECT_TRUE(TextsEqual(ByteView{}, ""));
  EXPECT_FALSE(TextsEqual(" ", ""));
  EXPECT_TRUE(TextsEqual("\xB0\xA1", "\xB0\xA1"));
}

struct PartCase {
  const char* what;
  ByteView got;
  ByteView want;
};

TEST(ByteText, PartsStayInRange) {
  const ByteView t = "abcde";
  const ByteView gbk = "a\xB0\xA1";
  const PartCase cases[] = {
      {"left 0", LeftPart(t, 0), ""},
      {"left -3", LeftPart(t, -3), ""},
      {"left 2", LeftPart(t, 2), "ab"},
      {"left past end", LeftPart(t, 9), "abcde"},
      {"left ends on lead byte", LeftPart(gbk, 2), "a\xB0"},
      {"right 0", RightPart(t, 0), ""},
      {"right -1", RightPart(t, -1), ""},
      {"right 2", RightPart(t, 2), "de"},
      {"right past end", RightPart(t, 6), "abcde"},
      {"middle start 0", MiddlePart(t, 0, 5), ""},
      {"middle start len+1", MiddlePart(t, 6, 1), ""},
      {"middle n -2", MiddlePart(t, 2, -2), ""},
      {"middle last byte", MiddlePart(t, 5, 10), "e"},
      {"middle inside", MiddlePart(t, 2, 3), "bcd"},
      {"middle of empty", MiddlePart("", 1, 1), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

struct FindCase {
  const char* what;
  std::int64_t got;
  std::int64_t want;
};

TEST(ByteText, FindForwardWalksCharacters) {
  const ByteView crlf = "\r\n";
  const ByteView gbk_line = "\xB0\xA1\r\n";  // one character, then CR LF
  const ByteView t = "abcab";
  const FindCase cases[] = {
      {"omitted start", FindForward(t, "b"), 2},
      {"start 0", FindForward(t, "b", 0), 2},
      {"start -5", FindForward(t, "b", -5), 2},
      {"start 3", FindForward(t, "b", 3), 5},
      {"start len+1", FindForward(t, "b", 6), -1},
      {"start len, two-byte target", FindForward(t, "ab", 5), -1},
      {"start len, one byte", FindForward(t, "b", 5), 5},
      {"not found", FindForward(t, "x"), -1},
      {"empty target", FindForward(t, ""), 1},
      {"empty target, start 4", FindForward(t, "", 4), 1},
      {"empty target, past end", FindForward(t, "", 6), -1},
      {"empty text", FindForward("", "a"), -1},
      {"CR LF after character, from 1", FindForward(gbk_line, crlf, 1), 3},
      {"CR LF after character, from 3", FindForward(gbk_line, crlf, 3), 3},
      {"from the trail byte, CR passed over", FindForward(gbk_line, crlf, 2), -1},
      {"lone lead byte at the end is still compared", FindForward("a\xB0", "\xB0"), 2},
      {"lead byte at the end ends the scan", FindForward("\xB0", "\xB0" "x"), -1},
      {"scan resumes after a whole character", FindForward("\xB0\xB0\xB0", "\xB0\xB0", 2), 2},
      {"backslash inside character", FindForward("C:\xB0\\a", "\\"), -1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(ByteText, FindBackwardTakesLastOccurrence) {
  const FindCase cases[] = {
      {"trail byte 5C is no backslash", FindBackward("C:\xB0\\a", "\\"), -1},
      {"last backslash", FindBackward("C:\\a\\b", "\\"), 5},
      {"overlapping", FindBackward("aaa", "aa"), 2},
      {"empty target", FindBackward("x", ""), 1},
      {"empty target, empty text", FindBackward("", ""), -1},
      {"not found", FindBackward("abc", "d"), -1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
}

struct ParseCase {
  ByteView text;
  std::int32_t want;
};

TEST(ByteText, ParseInteger) {
  const ParseCase cases[] = {
      {" 42", 42},
      {"\r\n5", 5},
      {"+7", 7},
      {"-3", -3},
      {"12abc", 12},
      {"3.9", 3},
      {"abc", 0},
      {"", 0},
      {"- 5", 0},
      {"\xA3\xB1\xA3\xB2", 12},        // full-width 1 2
      {"\xA1\xA1\xA3\xB8", 8},         // ideographic space, full-width 8
      {"\xA3\xAD\xA3\xB3", -3},        // full-width minus, 3
      {"\xA3\xAB\xA3\xB9", 9},         // full-width plus, 9
      {"4294967298", 2},               // 2^32 + 2 wraps
      {"2147483648", -2147483648LL},   // 2^31 wraps
      {"\xB0\xA1" "5", 0},             // a character that is no digit
      {"7\xB0", 7},                    // lone lead byte at the end
      {"\t\v\f 9", 9},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseInteger(c.text), c.want) << c.text;
}

TEST(ByteText, RoundDownAndWholePart) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(RoundDown(7.0 / 2), 3);
  EXPECT_EQ(RoundDown(6.0 / 3), 2);
  EXPECT_EQ(RoundDown(0.0 / 5), 0);
  EXPECT_EQ(RoundDown(-7.0 / 2), -4);
  EXPECT_EQ(RoundDown(inf), 0);
  EXPECT_EQ(RoundDown(std::nan("")), 0);
  EXPECT_EQ(RoundDown(2.9999999999999), 3);  // within 1e-12 of 3
  EXPECT_EQ(RoundDown(2.99999999), 2);
  EXPECT_EQ(RoundDown(-2.9999999999999), -3);
  EXPECT_EQ(RoundDown(1e30), 2147483647);
  EXPECT_EQ(WholePart(2.9), 2);
  EXPECT_EQ(WholePart(-2.9), -2);
  EXPECT_EQ(WholePart(-1e30), -2147483647 - 1);
}

TEST(ByteText, FormatAndConvert) {
  EXPECT_EQ(FormatInteger(-12), "-12");
  EXPECT_EQ(FormatInteger(0), "0");
  EXPECT_EQ(FormatInteger(5000000000LL), "5000000000");
  EXPECT_EQ(BytesAsText(ByteSetView("A\0B", 3)), "A");
  EXPECT_EQ(BytesAsText(ByteSetView("\0A", 2)), "");
  EXPECT_EQ(BytesAsText(""), "");
  EXPECT_EQ(TextAsBytes("").size(), 0u);
  EXPECT_EQ(TextAsBytes("\xB0\xA1z"), "\xB0\xA1z");
  EXPECT_EQ(JoinTexts({"a", ByteView{}, "\xB0\xA1", ""}), "a\xB0\xA1");
}

}  // namespace
}  // namespace veskra
