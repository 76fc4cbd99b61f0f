// The network test build's announcement address: whatever the environment
// says, converted to GBK; nothing when the variable is unset.
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "notice/announcement_address.h"

namespace veskra {
namespace {

struct AddressCase {
  const char* name;
  const wchar_t* variable;  // nullptr: unset
  ByteText address;
};

void PrintTo(const AddressCase& c, std::ostream* os) { *os << c.name; }

class TestAnnouncementAddress : public testing::TestWithParam<AddressCase> {};

TEST_P(TestAnnouncementAddress, ComesFromTheEnvironment) {
  ASSERT_TRUE(SetEnvironmentVariableW(L"VESKRA_TEST_ANNOUNCEMENT_URL", GetParam().variable) ||
              GetParam().variable == nullptr);
  EXPECT_EQ(AnnouncementAddress(), GetParam().address);
  SetEnvironmentVariableW(L"VESKRA_TEST_ANNOUNCEMENT_URL", nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Variables, TestAnnouncementAddress,
    testing::Values(AddressCase{"Unset", nullptr, ""}, AddressCase{"Empty", L"", ""},
                    AddressCase{"Loopback", L"http://127.0.0.1:8080/a?timeStamp=1",
                                "http://127.0.0.1:8080/a?timeStamp=1"},
                    // "公告" becomes its GBK bytes B9 AB B8 E6
                    AddressCase{"ChinesePath", L"http://127.0.0.1/\u516C\u544A",
                                "http://127.0.0.1/\xB9\xAB\xB8\xE6"}),
    [](const testing::TestParamInfo<AddressCase>& param_info) {
      return std::string(param_info.param.name);
    });

}  // namespace
}  // namespace veskra
