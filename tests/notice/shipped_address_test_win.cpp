// The shipped program's announcement address: fixed, and deaf to the
// variable that the network test build listens to.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "notice/announcement_address.h"

namespace veskra {
namespace {

TEST(ShippedAnnouncementAddress, IsTheFixedPlainHttpAddress) {
  EXPECT_EQ(AnnouncementAddress(),
            "http://notice.veskra.example/announcement.html?timeStamp=1733900000000");
}

TEST(ShippedAnnouncementAddress, QueryIsTimeStampWithThirteenDigits) {
  const ByteText address = AnnouncementAddress();
  const std::size_t query = address.find("?timeStamp=");
  ASSERT_NE(query, ByteText::npos);
  const ByteText digits = address.substr(query + 11);
  EXPECT_EQ(digits.size(), 13u);
  for (const char c : digits) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c))) << digits;
}

TEST(ShippedAnnouncementAddress, IgnoresTheTestVariable) {
  SetEnvironmentVariableW(L"VESKRA_TEST_ANNOUNCEMENT_URL", L"http://127.0.0.1:1/other");
  EXPECT_EQ(AnnouncementAddress(),
            "http://notice.veskra.example/announcement.html?timeStamp=1733900000000");
  SetEnvironmentVariableW(L"VESKRA_TEST_ANNOUNCEMENT_URL", nullptr);
}

}  // namespace
}  // namespace veskra
