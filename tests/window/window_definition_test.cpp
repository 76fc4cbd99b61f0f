// The window definition table and the focus order taken from it.
#include "app/window_definition.h"

#include <gtest/gtest.h>

#include <string>

namespace veskra {
namespace {

TEST(WindowDefinition, FocusOrderOfTheMainWindow) {
  EXPECT_EQ(
      (std::vector<int>{kBookPathBox, kOpenButton, kPieceCountBox, kSplitButton, kSeparatorLine}),
      FocusOrder(kMainWindowControls.data(), kMainWindowControls.size()));
}

// Small tables that show each rule: hidden and non-tab-stop controls are
// left out, smaller indices come first, later rows win among equals.
TEST(WindowDefinition, FocusOrderRules) {
  const ControlDefinition table[] = {
      {"a", ControlKind::kEditBox, 1, 0, 0, 1, 1, true, true, 0, ""},
      {"b", ControlKind::kEditBox, 2, 0, 0, 1, 1, false, true, 0, ""},  // hidden
      {"c", ControlKind::kLabel, 3, 0, 0, 1, 1, true, false, 0, ""},    // no tab stop
      {"d", ControlKind::kPushButton, 4, 0, 0, 1, 1, true, true, -1, ""},
      {"e", ControlKind::kPushButton, 5, 0, 0, 1, 1, true, true, 0, ""},
      {"f", ControlKind::kEditBox, 6, 0, 0, 1, 1, true, true, 2, ""},
  };
  EXPECT_EQ((std::vector<int>{4, 5, 1, 6}), FocusOrder(table, std::size(table)));
  EXPECT_EQ(std::vector<int>{}, FocusOrder(table, 0));
}

struct StepCase {
  int current;
  int step;
  int expected;
};

TEST(WindowDefinition, NextInFocusOrderWrapsAtBothEnds) {
  const std::vector<int> order{10, 20, 30};
  const StepCase cases[] = {
      {10, 1, 20}, {30, 1, 10}, {10, -1, 30}, {20, -1, 10}, {99, 1, 10}, {0, -1, 10},
  };
  for (const StepCase& c : cases) {
    EXPECT_EQ(c.expected, NextInFocusOrder(order, c.current, c.step))
        << c.current << " step " << c.step;
  }
  EXPECT_EQ(0, NextInFocusOrder({}, 10, 1));
}

TEST(WindowDefinition, MainWindowSettings) {
  EXPECT_EQ(std::string("Veskra V3.2"), kMainWindow.title);
  EXPECT_EQ(335, kMainWindow.outer_width);
  EXPECT_EQ(165, kMainWindow.outer_height);
  // 编辑框3 holds exactly CR LF and is hidden.
  const ControlDefinition& delimiter = kMainWindowControls[3];
  EXPECT_EQ(kDelimiterBox, delimiter.id);
  EXPECT_EQ(std::string("\r\n"), delimiter.text);
  EXPECT_FALSE(delimiter.visible);
}

}  // namespace
}  // namespace veskra
