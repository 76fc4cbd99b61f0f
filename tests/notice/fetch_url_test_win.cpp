// FetchUrl against a server of the test's own on 127.0.0.1.
#include "notice/fetch_url.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "test_server_win.h"

namespace veskra {
namespace {

using testing_server::Behaviour;
using testing_server::Page;
using testing_server::Reply;
using testing_server::Stream;
using testing_server::TestServer;

constexpr std::size_t kMiB = 1024 * 1024;

char Pattern(std::size_t at) { return static_cast<char>('a' + at % 26); }
char Binary(std::size_t at) { return static_cast<char>((at * 131 + at / 7) & 0xFF); }

std::string Expected(std::size_t size, char (*fill)(std::size_t)) {
  std::string bytes;
  bytes.reserve(size);
  for (std::size_t at = 0; at < size; ++at) bytes.push_back(fill(at));
  return bytes;
}

// "开始1今日公告结束1" in GBK, inside an HTML page.
const std::string kNoticePage =
    "<html>\xBF\xAA\xCA\xBC\x31\xBD\xF1\xC8\xD5\xB9\xAB\xB8\xE6\xBD\xE1\xCA\xF8\x31</html>";

Behaviour Route(const std::string& path) {
  if (path.rfind("/request", 0) == 0) return Page("ok");
  if (path == "/small") return Page(Expected(500, Pattern));
  if (path == "/notice404") {
    return Reply("404 Not Found", "Content-Type: text/html\r\n", kNoticePage);
  }
  if (path == "/nolength") return Stream(30000, Pattern, false);
  if (path == "/zerolength") return Reply("200 OK", "Content-Length: 0\r\n", "");
  if (path == "/large") return Stream(200000, Pattern);
  if (path == "/binary") return Stream(70000, Binary);
  if (path == "/partial") return Reply("200 OK", "Content-Length: 1000\r\n", std::string(500, 'p'));
  if (path == "/5mb") return Stream(5 * kMiB, Pattern);
  if (path == "/50mb-nolength") return Stream(50 * kMiB, Pattern, false);
  if (path == "/silent") return testing_server::Silent();
  return Reply("500 Internal Server Error", "", "");
}

class FetchUrlTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(server_.ok()); }
  TestServer server_{Route};
};

TEST_F(FetchUrlTest, SendsTheRequestLineAndHeadersAndNoFragment) {
  const FetchResult result =
      FetchUrlWith(server_.Url("/request?timeStamp=1733900000000#part"), FetchLimits{});
  EXPECT_EQ(result.body, "ok");
  const std::vector<std::string> requests = server_.Requests();
  ASSERT_EQ(requests.size(), 1u);
  // The request line exactly; the header lines exactly too, in any order
  // (the HTTP client chooses it).
  const std::string& head = requests[0];
  const std::string request_line = "GET /request?timeStamp=1733900000000 HTTP/1.0\r\n";
  ASSERT_EQ(head.substr(0, request_line.size()), request_line);
  ASSERT_EQ(head.substr(head.size() - 4), "\r\n\r\n");
  std::vector<std::string> headers;
  for (std::size_t at = request_line.size(); at < head.size() - 2;) {
    const std::size_t end = head.find("\r\n", at);
    headers.push_back(head.substr(at, end - at));
    at = end + 2;
  }
  std::sort(headers.begin(), headers.end());
  EXPECT_EQ(headers, (std::vector<std::string>{
                         "Accept: */*",
                         "Host: 127.0.0.1:" + std::to_string(server_.port()),
                         "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)",
                     }));
}

struct BodyCase {
  const char* name;
  const char* path;
  std::string body;
  std::uint32_t read_size;
};

void PrintTo(const BodyCase& c, std::ostream* os) { *os << c.name; }

class FetchBodyTest : public FetchUrlTest, public testing::WithParamInterface<BodyCase> {};

TEST_P(FetchBodyTest, ReturnsTheBodyReadInPiecesOfTheReadSize) {
  const FetchResult result = FetchUrlWith(server_.Url(GetParam().path), FetchLimits{});
  EXPECT_EQ(result.body.size(), GetParam().body.size());
  EXPECT_TRUE(result.body == GetParam().body);
  EXPECT_EQ(result.read_size, GetParam().read_size);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, FetchBodyTest,
    testing::Values(BodyCase{"ContentLength500", "/small", Expected(500, Pattern), 501},
                    BodyCase{"NoContentLength", "/nolength", Expected(30000, Pattern), 10240},
                    BodyCase{"ContentLengthZero", "/zerolength", "", 10240},
                    BodyCase{"ContentLength200000", "/large", Expected(200000, Pattern), 102400},
                    BodyCase{"ErrorPageBodyKept", "/notice404", kNoticePage, 10240},
                    BodyCase{"BinaryBytes", "/binary", Expected(70000, Binary), 70001},
                    BodyCase{"CutShortKeepsWhatCame", "/partial", std::string(500, 'p'), 1001}),
    [](const testing::TestParamInfo<BodyCase>& param_info) {
      return std::string(param_info.param.name);
    });

TEST_F(FetchUrlTest, ReadsNoMoreThanOneMebibyte) {
  for (const char* path : {"/5mb", "/50mb-nolength"}) {
    const FetchResult result = FetchUrlWith(server_.Url(path), FetchLimits{});
    EXPECT_EQ(result.body.size(), kMiB) << path;
    EXPECT_TRUE(result.body == Expected(kMiB, Pattern)) << path;
  }
}

TEST_F(FetchUrlTest, ServerThatNeverAnswersEndsInTheTimeOut) {
  // Were no time-out set, this fetch would wait for the server, which only
  // stops after the fetch returns; ctest's time-out would fail the test.
  const FetchResult result = FetchUrlWith(server_.Url("/silent"), FetchLimits{1000, kMiB});
  EXPECT_EQ(result.body, "");
  EXPECT_EQ(result.read_size, 0u);
}

TEST_F(FetchUrlTest, WorksAgainAfterTheSessionIsClosed) {
  EXPECT_EQ(FetchUrl(server_.Url("/request?first")), "ok");
  CloseInternet();
  EXPECT_EQ(FetchUrl(server_.Url("/request?second")), "ok");
}

TEST(FetchUrl, ShippedLimits) {
  EXPECT_EQ(FetchLimits{}.timeout_ms, 15000u);
  EXPECT_EQ(FetchLimits{}.max_body, kMiB);
}

TEST(FetchUrl, AddressesThatGiveNothing) {
  for (const char* address : {"", "not an address", "http://127.0.0.1:1/refused"}) {
    EXPECT_EQ(FetchUrl(address), "") << address;
  }
}

}  // namespace
}  // namespace veskra
