// The fallback of a link click: the program registered for ".htm" pages,
// read from a registry of the test's own (HKEY_CLASSES_ROOT redirected for
// this process only).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "app/hyperlink_box.h"

namespace veskra {
namespace {

constexpr wchar_t kTestRoot[] = L"Software\\VeskraLinkTests\\Classes";

// A key of the test's own stands in for HKEY_CLASSES_ROOT while it lives.
class TestClassesRoot {
 public:
  TestClassesRoot() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestRoot);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kTestRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &root_, nullptr) == ERROR_SUCCESS) {
      ok_ = RegOverridePredefKey(HKEY_CLASSES_ROOT, root_) == ERROR_SUCCESS;
    }
  }
  ~TestClassesRoot() {
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    if (root_) RegCloseKey(root_);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VeskraLinkTests");
  }
  TestClassesRoot(const TestClassesRoot&) = delete;
  TestClassesRoot& operator=(const TestClassesRoot&) = delete;

  bool ok() const { return ok_; }
  bool SetDefault(const std::wstring& subkey, const std::wstring& value) const {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root_, subkey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
      return false;
    }
    const LONG set =
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return set == ERROR_SUCCESS;
  }

 private:
  HKEY root_ = nullptr;
  bool ok_ = false;
};

std::wstring TempPath(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + name;
}

std::optional<std::string> ReadWhenWritten(const std::wstring& path) {
  for (int i = 0; i < 500; ++i) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (in) {
      std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      if (bytes.find('\n') != std::string::npos) return bytes;
    }
    Sleep(10);
  }
  return std::nullopt;
}

std::wstring CmdExe() {
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\cmd.exe";
}

struct RegisteredCase {
  const char* what;
  std::wstring command_tail;  // after "<cmd.exe> /c >OUT echo"
};

void PrintTo(const RegisteredCase& c, std::ostream* os) { *os << c.what; }

class RegisteredBrowser : public testing::TestWithParam<RegisteredCase> {};

// cmd's echo prints what follows its first space: the cut command line's
// own space and then the one added before the address.
TEST_P(RegisteredBrowser, RunsTheCutCommandLineOnTheAddress) {
  TestClassesRoot classes;
  ASSERT_TRUE(classes.ok());
  const std::wstring out = TempPath(L"veskra-registered-browser.txt");
  DeleteFileW(out.c_str());
  ASSERT_TRUE(classes.SetDefault(L".htm", L"VeskraTestPage"));
  ASSERT_TRUE(classes.SetDefault(
      L"VeskraTestPage\\shell\\open\\command",
      L"\"" + CmdExe() + L"\" /c >\"" + out + L"\" echo" + GetParam().command_tail));
  EXPECT_TRUE(OpenWithRegisteredBrowser(L"http://veskra.example/"));
  EXPECT_EQ(ReadWhenWritten(out), std::string(" http://veskra.example/\r\n"));
  DeleteFileW(out.c_str());
}

INSTANTIATE_TEST_SUITE_P(Cases, RegisteredBrowser,
                         testing::Values(RegisteredCase{"quoted", L" \"%1\""},
                                         RegisteredCase{"unquoted", L" %1"},
                                         RegisteredCase{"none", L" "}));

TEST(RegisteredBrowserFails, WithoutPageClass) {
  TestClassesRoot classes;
  ASSERT_TRUE(classes.ok());
  EXPECT_FALSE(OpenWithRegisteredBrowser(L"http://veskra.example/"));
}

TEST(RegisteredBrowserFails, WithoutCommand) {
  TestClassesRoot classes;
  ASSERT_TRUE(classes.ok());
  ASSERT_TRUE(classes.SetDefault(L".htm", L"VeskraTestPage"));
  EXPECT_FALSE(OpenWithRegisteredBrowser(L"http://veskra.example/"));
}

// A command line longer than a registered value may be is not read, so
// nothing runs; nor does one that, with the address, would not fit.
TEST(RegisteredBrowserFails, OverLongCommandOrAddressRunsNothing) {
  TestClassesRoot classes;
  ASSERT_TRUE(classes.ok());
  const std::wstring out = TempPath(L"veskra-registered-long.txt");
  DeleteFileW(out.c_str());
  ASSERT_TRUE(classes.SetDefault(L".htm", L"VeskraTestPage"));
  const std::wstring command = L"\"" + CmdExe() + L"\" /c >\"" + out + L"\" echo \"%1\"";
  ASSERT_TRUE(classes.SetDefault(L"VeskraTestPage\\shell\\open\\command",
                                 command + std::wstring(300 - command.size(), L' ')));
  EXPECT_FALSE(OpenWithRegisteredBrowser(L"http://veskra.example/"));

  ASSERT_TRUE(classes.SetDefault(L"VeskraTestPage\\shell\\open\\command", command));
  EXPECT_FALSE(OpenWithRegisteredBrowser(L"http://veskra.example/" + std::wstring(1000, L'a')));
  Sleep(200);  // a wrongly started cmd would have written by now
  EXPECT_EQ(GetFileAttributesW(out.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(OpenWebAddressTest, EmptyAddressOpensNothing) { EXPECT_FALSE(OpenWebAddress("")); }

}  // namespace
}  // namespace veskra
