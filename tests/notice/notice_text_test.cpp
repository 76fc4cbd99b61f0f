#include "notice/notice.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace veskra {
namespace {

const std::string kStart = kNoticeStartMarker;  // 开始1
const std::string kEnd = kNoticeEndMarker;      // 结束1

TEST(NoticeMarkers, AreTheGbkBytes) {
  EXPECT_EQ(kStart, std::string("\xBF\xAA\xCA\xBC\x31"));
  EXPECT_EQ(kEnd, std::string("\xBD\xE1\xCA\xF8\x31"));
}

struct NoticeCase {
  const char* name;
  std::string page;
  std::string notice;
};

void PrintTo(const NoticeCase& c, std::ostream* os) { *os << c.name; }

class ExtractNoticeTable : public testing::TestWithParam<NoticeCase> {};

TEST_P(ExtractNoticeTable, GivesTheNotice) {
  EXPECT_EQ(ExtractNotice(GetParam().page), GetParam().notice);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ExtractNoticeTable,
    testing::Values(
        NoticeCase{"Notice", "ab" + kStart + "Hello" + kEnd + "cd", "Hello"},
        // "今日公告" in GBK, kept byte for byte
        NoticeCase{"GbkNotice", "<p>" + kStart + "\xBD\xF1\xC8\xD5\xB9\xAB\xB8\xE6" + kEnd,
                   "\xBD\xF1\xC8\xD5\xB9\xAB\xB8\xE6"},
        NoticeCase{"EmptyNotice", "ab" + kStart + kEnd + "cd", ""},
        NoticeCase{"TwoNotices", kStart + "one" + kEnd + kStart + "two" + kEnd, "one"},
        NoticeCase{"EndMarkerOnlyBeforeStart", "x" + kEnd + "y" + kStart + "z", ""},
        NoticeCase{"EndMarkerBeforeAndAfter", kEnd + kStart + "z" + kEnd, "z"},
        // Without a start marker there is no notice, even where bytes 4 on
        // run up to an end marker.
        NoticeCase{"NoStartMarker", "abcdefghi" + kEnd, ""},
        NoticeCase{"NoStartMarkerErrorPage", "<html>404 Not Found</html>" + kEnd, ""},
        NoticeCase{"NoMarkers", "<html>plain page</html>", ""},
        NoticeCase{"ShorterThanEight", "abc" + std::string("1234"), ""},
        NoticeCase{"StartMarkerAtTheEnd", "abc" + kStart, ""}, NoticeCase{"EmptyPage", "", ""},
        NoticeCase{"NulBeforeMarkers", std::string("ab\0", 3) + kStart + "Hi" + kEnd, ""},
        NoticeCase{"NulInsideNotice", kStart + std::string("Hi\0", 3) + "there" + kEnd, ""},
        NoticeCase{"NulAfterNotice", kStart + "Hi" + kEnd + std::string("\0\xFF", 2), "Hi"},
        NoticeCase{"NoEndMarker", kStart + "no end", ""},
        // A marker only counts where a character begins: here its first
        // byte is the second half of the GBK character B0 BF.
        NoticeCase{"StartMarkerInsideCharacter",
                   "\xB0" + kStart + "x" + kEnd + kStart + "real" + kEnd, "real"}),
    [](const testing::TestParamInfo<NoticeCase>& param_info) {
      return std::string(param_info.param.name);
    });

struct ReadSizeCase {
  const char* name;
  std::optional<ByteText> content_length;
  std::uint32_t read_size;
};

void PrintTo(const ReadSizeCase& c, std::ostream* os) { *os << c.name; }

class ReadSizeTable : public testing::TestWithParam<ReadSizeCase> {};

TEST_P(ReadSizeTable, FollowsContentLength) {
  EXPECT_EQ(ReadSizeFor(GetParam().content_length), GetParam().read_size);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ReadSizeTable,
                         testing::Values(ReadSizeCase{"NoHeader", std::nullopt, 10240},
                                         ReadSizeCase{"Zero", ByteText("0"), 10240},
                                         ReadSizeCase{"One", ByteText("1"), 2},
                                         ReadSizeCase{"Small", ByteText("500"), 501},
                                         ReadSizeCase{"JustFits", ByteText("102399"), 102400},
                                         ReadSizeCase{"JustOver", ByteText("102400"), 102400},
                                         ReadSizeCase{"Large", ByteText("200000"), 102400},
                                         ReadSizeCase{"Huge", ByteText("99999999999999999999"),
                                                      102400},
                                         ReadSizeCase{"Negative", ByteText("-5"), 10240},
                                         ReadSizeCase{"Plus", ByteText("+7"), 8},
                                         ReadSizeCase{"LeadingBlanks", ByteText("  \t42"), 43},
                                         ReadSizeCase{"TrailingJunk", ByteText("12abc"), 13},
                                         ReadSizeCase{"NotANumber", ByteText("abc"), 10240},
                                         ReadSizeCase{"Empty", ByteText(""), 10240}),
                         [](const testing::TestParamInfo<ReadSizeCase>& param_info) {
                           return std::string(param_info.param.name);
                         });

}  // namespace
}  // namespace veskra
