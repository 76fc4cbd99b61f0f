// The announcement, end to end: the real program (its network test build,
// which takes the page's address from VESKRA_TEST_ANNOUNCEMENT_URL) fetches
// from a server of the test's own on 127.0.0.1 and shows the notice in the
// announcement link. Faulty servers must never hurt the window.
// Winsock must come before windows.h.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "../notice/test_server_win.h"
#include "app/control_ids.h"
#include "driver.h"

namespace veskra {
namespace {

using driver::Program;
using driver::Wide;
using testing_server::Behaviour;
using testing_server::Reply;
using testing_server::Stream;
using testing_server::TestServer;

constexpr std::size_t kMiB = 1024 * 1024;
const std::string kStart = "\xBF\xAA\xCA\xBC\x31";  // 开始1
const std::string kEnd = "\xBD\xE1\xCA\xF8\x31";    // 结束1
// 今日公告：新版发布
const std::string kNoticeGbk =
    "\xBD\xF1\xC8\xD5\xB9\xAB\xB8\xE6\xA3\xBA\xD0\xC2\xB0\xE6\xB7\xA2\xB2\xBC";
const std::wstring kNoticeShown = Wide("今日公告：新版发布");
const std::wstring kDesignCaption = Wide("说说你的读书感悟吧！");

std::string NoticePage() { return "<html><p>" + kStart + kNoticeGbk + kEnd + "</p></html>"; }

// 5 MB whose first bytes carry the notice; the rest is filler.
char BigNoticePage(std::size_t at) {
  static const std::string head = NoticePage();
  return at < head.size() ? head[at] : static_cast<char>('a' + at % 26);
}
char Filler(std::size_t at) { return static_cast<char>('a' + at % 26); }
char Binary(std::size_t at) { return static_cast<char>((at * 131 + at / 7) & 0xFF); }
char Nul(std::size_t) { return '\0'; }

Behaviour Route(const std::string& path) {
  if (path == "/notice") {
    return Reply("200 OK", "Content-Type: text/html; charset=gbk\r\n", NoticePage());
  }
  if (path == "/notice404") return Reply("404 Not Found", "", NoticePage());
  if (path == "/5mb-notice") return Stream(5 * kMiB, BigNoticePage);
  if (path == "/50mb") return Stream(50 * kMiB, Filler, false);
  if (path == "/binary") return Stream(300000, Binary);
  if (path == "/nul") return Stream(200000, Nul);
  if (path == "/no-markers") return Reply("200 OK", "", "<html>nothing to see</html>");
  if (path == "/error-page-end-marker") return Reply("500 Oops", "", "abcdefghi" + kEnd);
  if (path == "/silent") return testing_server::Silent();
  if (path == "/drip") return testing_server::Drip('x');
  return Reply("500 Internal Server Error", "", "");
}

void PointProgramAt(const std::string& url) {
  SetEnvironmentVariableW(L"VESKRA_TEST_ANNOUNCEMENT_URL", Wide(url).c_str());
}

std::optional<Program> StartNettest(const std::string& url) {
  PointProgramAt(url);
  std::optional<Program> program = Program::Start(driver::VeskraNettestExe());
  PointProgramAt("");
  return program;
}

// The window takes input: a text typed into the book path box reads back.
void ExpectUsable(const Program& program) {
  const std::wstring typed = Wide("C:\\书\\试.txt");
  EXPECT_TRUE(program.WaitIdle(2000));
  EXPECT_TRUE(program.SetText(kBookPathBox, typed));
  EXPECT_EQ(program.Text(kBookPathBox), typed);
}

void ExpectClosesWithExitCodeZero(Program& program) {
  PostMessageW(program.window(), WM_CLOSE, 0, 0);
  const std::optional<DWORD> code = program.WaitForExit(5000);
  ASSERT_TRUE(code.has_value()) << "the program did not end after its window closed";
  EXPECT_EQ(*code, 0u);
}

struct PageCase {
  const char* name;
  const char* path;
  std::wstring link_text;  // empty: the link shows its web address
};

void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }

class NoticeInLinkTest : public testing::TestWithParam<PageCase> {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.ok()); }
  TestServer server_{Route};
};

TEST_P(NoticeInLinkTest, LinkShowsWhatThePageHolds) {
  std::optional<Program> program = StartNettest(server_.Url(GetParam().path));
  ASSERT_TRUE(program.has_value());
  const std::wstring expected = GetParam().link_text;
  EXPECT_TRUE(
      driver::WaitUntil([&] { return program->Text(kAnnouncementLink) == expected; }, 10000))
      << "link shows: " << driver::Gbk(program->Text(kAnnouncementLink));
  EXPECT_EQ(server_.Requests().size(), 1u);
  EXPECT_FALSE(program->FindBox().has_value()) << "no message box is ever shown";
  ExpectUsable(*program);
  ExpectClosesWithExitCodeZero(*program);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, NoticeInLinkTest,
    testing::Values(PageCase{"GbkNotice", "/notice", kNoticeShown},
                    PageCase{"NoticeOnA404Page", "/notice404", kNoticeShown},
                    PageCase{"FiveMegabytesWithNotice", "/5mb-notice", kNoticeShown},
                    PageCase{"FiftyMegabytesNoMarkers", "/50mb", L""},
                    PageCase{"BinaryBytes", "/binary", L""}, PageCase{"AllNulBytes", "/nul", L""},
                    PageCase{"NoMarkers", "/no-markers", L""},
                    PageCase{"EndMarkerWithoutStartMarker", "/error-page-end-marker", L""}),
    [](const testing::TestParamInfo<PageCase>& param_info) {
      return std::string(param_info.param.name);
    });

TEST(NoticeServerDown, LinkShowsItsAddressAndNoBox) {
  std::string url;
  {
    // A port that was just free: nothing listens there any more.
    TestServer gone{Route};
    ASSERT_TRUE(gone.ok());
    url = gone.Url("/notice");
  }
  std::optional<Program> program = StartNettest(url);
  ASSERT_TRUE(program.has_value());
  EXPECT_TRUE(driver::WaitUntil([&] { return program->Text(kAnnouncementLink).empty(); }, 10000))
      << "link shows: " << driver::Gbk(program->Text(kAnnouncementLink));
  EXPECT_FALSE(program->FindBox().has_value());
  ExpectClosesWithExitCodeZero(*program);
}

class HangingServerTest : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.ok()); }
  TestServer server_{Route};
};

TEST_P(HangingServerTest, WindowStaysUsableAndClosesAtOnce) {
  std::optional<Program> program = StartNettest(server_.Url(GetParam()));
  ASSERT_TRUE(program.has_value());
  ASSERT_TRUE(driver::WaitUntil([&] { return server_.Requests().size() == 1; }, 5000));
  ExpectUsable(*program);
  EXPECT_EQ(program->Text(kAnnouncementLink), kDesignCaption);
  ExpectClosesWithExitCodeZero(*program);
}

INSTANTIATE_TEST_SUITE_P(Servers, HangingServerTest, testing::Values("/silent", "/drip"),
                         [](const testing::TestParamInfo<const char*>& param_info) {
                           return std::string(param_info.param + 1);
                         });

}  // namespace
}  // namespace veskra
