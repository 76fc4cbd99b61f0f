#include "split/stop_byte.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace veskra {
namespace {

using namespace std::string_literals;

struct StopCase {
  std::string bytes;
  std::size_t text_length;
  std::size_t stop_byte;
};

// \xB0\xA1 is a two-byte character; \xB0 alone is a lead byte.
const StopCase kStopCases[] = {
    {""s, 0, 0},
    {"abc"s, 3, 3},
    {"ab\0cd"s, 2, 2},
    {"ab\x1A"
     "cd"s,
     2, 2},
    {"\0abc"s, 0, 0},
    {"\x1A"
     "abc"s,
     0, 0},
    {"a\xB0\0c"s, 1, 2},  // a lead byte then NUL: the lead byte goes too
    {"a\xB0\x1A"
     "c\0"s,
     4, 4},  // a lead byte then 0x1A: one character, scan goes on
    {"\xB0\xA1\x1A"s, 2, 2},
    {"\xB0\xB0\x1A"s, 2, 2},
    {"\xB0\xB0\xB0\x1A"s, 4, 4},
    {"\xB0\xB0\xB0\0"s, 2, 3},
    {"\xB0\xB0\0"s, 2, 2},
    {"\xB0\x1A\0"s, 2, 2},
    {"a\x1A\0"s, 1, 1},
    {"a\0\x1A"s, 1, 1},
    {"\xB0"s, 1, 1},  // a lone lead byte at the end is kept
    {"\xB0\x1A"
     "\xB0\x1A"
     "x\x1A"s,
     5, 5},
    {"\xB0\x41\x1A"s, 2, 2},  // a second byte below 0x80 ends the character
};

TEST(StopByte, EndsTheTextBeforeTheFirstStopByte) {
  for (const auto& c : kStopCases) {
    for (const auto scan : {&FindTextEnd, &FindTextEndByWalking}) {
      const TextEnd end = scan(c.bytes);
      EXPECT_EQ(end.text_length, c.text_length) << testing::PrintToString(c.bytes);
      EXPECT_EQ(end.stop_byte, c.stop_byte) << testing::PrintToString(c.bytes);
    }
    EXPECT_EQ(TextLengthBeforeStopByte(c.bytes), c.text_length);
  }
}

TEST(StopByte, SearchFromAPointBeforeTheFirstStopByte) {
  for (const auto& c : kStopCases) {
    for (std::size_t from = 0; from <= c.stop_byte; ++from) {
      const TextEnd end = FindTextEndFrom(c.bytes, from);
      EXPECT_EQ(end.text_length, c.text_length) << testing::PrintToString(c.bytes) << from;
      EXPECT_EQ(end.stop_byte, c.stop_byte) << testing::PrintToString(c.bytes) << from;
    }
  }
}

TEST(StopByte, WatchGuessesFromTheLastByteAndChecksTheParts) {
  const struct {
    std::string file;
    std::string guess;
    bool guess_holds;  // every part passes
    std::string text;
  } cases[] = {
      {""s, ""s, true, ""s},
      {"abc\r\ndef"s, "abc\r\ndef"s, true, "abc\r\ndef"s},
      {"abc\x1A"s, "abc"s, true, "abc"s},
      {"abc\0"s, "abc"s, true, "abc"s},
      {"ab\xB0\0"s, "ab"s, true, "ab"s},  // the lead byte goes with its NUL
      {"a\xB0\x1A"
       "c"s,
       "a\xB0\x1A"
       "c"s,
       true,
       "a\xB0\x1A"
       "c"s},  // a 0x1A inside a character stops nothing
      {"a\x1A"
       "bc\x1A"s,
       "a\x1A"
       "bc"s,
       false, "a"s},
      {"a\0bc"s, "a\0bc"s, false, "a"s},
      {"\xB0\x1A\x1A"s, "\xB0\x1A"s, true, "\xB0\x1A"s},
  };
  for (const auto& c : cases) {
    StopByteWatch watch(c.file);
    EXPECT_EQ(watch.Guess(), c.guess) << testing::PrintToString(c.file);
    // Parts of two bytes, in order; once one fails, the rest fail too.
    bool holds = true;
    for (std::size_t at = 0; at < c.guess.size(); at += 2) {
      const bool passes = watch.TextRunsOnThrough(watch.Guess().substr(at, 2));
      EXPECT_TRUE(holds || !passes) << testing::PrintToString(c.file);
      holds = holds && passes;
    }
    EXPECT_EQ(holds, c.guess_holds) << testing::PrintToString(c.file);
    EXPECT_EQ(watch.Text(), c.text) << testing::PrintToString(c.file);
  }
}

TEST(StopByte, FastSearchAgreesWithTheCharacterWalk) {
  // Mostly lead-range bytes, so that runs of them meet NULs and 0x1As at
  // every parity.
  const char alphabet[] = {'\0', '\x1A', 'a', '\x41', '\x80', '\xB0', '\xFE', '\xFF'};
  std::mt19937 random(20261211);
  std::uniform_int_distribution<int> pick(0, sizeof alphabet - 1);
  std::uniform_int_distribution<int> length(0, 40);
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(static_cast<std::size_t>(length(random)), ' ');
    for (char& b : bytes) {
      b = alphabet[pick(random)];
      if (b == '\0' && round % 3 != 0) b = '\xB0';  // fewer NULs, longer texts
    }
    const TextEnd fast = FindTextEnd(bytes);
    const TextEnd walked = FindTextEndByWalking(bytes);
    ASSERT_EQ(fast.text_length, walked.text_length) << testing::PrintToString(bytes);
    ASSERT_EQ(fast.stop_byte, walked.stop_byte) << testing::PrintToString(bytes);
  }
}

}  // namespace
}  // namespace veskra
