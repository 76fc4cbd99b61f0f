#include "text/fatal_error.h"

#include <gtest/gtest.h>

namespace veskra {
namespace {

TEST(FatalError, OutOfMemoryMessageCarriesByteCount) {
  // 分配 123456 字节内存失败!
  EXPECT_EQ(OutOfMemoryMessage(123456),
            "\xB7\xD6\xC5\xE4 123456 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");
}

TEST(FatalErrorDeathTest, HandlerRunsAndProcessEnds) {
  EXPECT_EXIT(
      {
        SetFatalErrorHandler([](ByteView message) {
          std::fprintf(stderr, "handled: %.*s", static_cast<int>(message.size()),
                       message.data());
          std::fflush(stderr);
          std::_Exit(3);
        });
        ReportFatalError("boom");
      },
      testing::ExitedWithCode(3), "handled: boom");
}

}  // namespace
}  // namespace veskra
