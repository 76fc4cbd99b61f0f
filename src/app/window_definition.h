// The main window as one fixed table: the window's settings and its twelve
// controls in stacking order (first row on top). Standard C++ only, so the
// table and the focus order can be checked anywhere.
#pragma once

#include <array>
#include <vector>

#include "app/control_ids.h"
#include "app/forum.h"

namespace veskra {

enum class ControlKind {
  kLabel,
  kEditBox,
  kMultiLineEditBox,
  kPushButton,
  kHyperlinkBox,
  kSplitterLine,
  kBookChooser,  // no window of its own: the open-file dialog
};

struct ControlDefinition {
  const char* name;  // GBK, e.g. 编辑框1
  ControlKind kind;
  int id;
  int left, top, width, height;  // client coordinates of the main window
  bool visible;
  bool tab_stop;
  int tab_index;
  const char* text;  // GBK: content or caption
};

struct WindowDefinition {
  const char* title;              // GBK
  int outer_width, outer_height;  // frame and title bar included
};

inline constexpr WindowDefinition kMainWindow{"Veskra V3.2", 335, 165};

// "文本文件|*.txt": the book chooser's filter.
inline constexpr char kBookFilter[] = "\xCE\xC4\xB1\xBE\xCE\xC4\xBC\xFE|*.txt";

// clang-format off
inline constexpr std::array<ControlDefinition, 12> kMainWindowControls{{
  // 超级链接框2: "说说你的读书感悟吧！"
  {"\xB3\xAC\xBC\xB6\xC1\xB4\xBD\xD3\xBF\xF2" "2", ControlKind::kHyperlinkBox, kAnnouncementLink,
   8, 3, 312, 24, true, false, 0,
   "\xCB\xB5\xCB\xB5\xC4\xE3\xB5\xC4\xB6\xC1\xCA\xE9\xB8\xD0\xCE\xF2\xB0\xC9\xA3\xA1"},
  // 分隔条1
  {"\xB7\xD6\xB8\xF4\xCC\xF5" "1", ControlKind::kSplitterLine, kSeparatorLine,
   19, 105, 298, 2, true, true, 0, ""},
  // 超级链接框1: the forum's name and domain
  {"\xB3\xAC\xBC\xB6\xC1\xB4\xBD\xD3\xBF\xF2" "1", ControlKind::kHyperlinkBox, kForumLink,
   96, 113, 152, 16, true, false, 0, kForumCaption},
  // 编辑框3: CR LF
  {"\xB1\xE0\xBC\xAD\xBF\xF2" "3", ControlKind::kMultiLineEditBox, kDelimiterBox,
   0, 12, 24, 48, false, true, 0, "\r\n"},
  // 通用对话框1
  {"\xCD\xA8\xD3\xC3\xB6\xD4\xBB\xB0\xBF\xF2" "1", ControlKind::kBookChooser, 0,
   208, 65, 26, 26, false, false, 0, ""},
  // 按钮2: "确定"
  {"\xB0\xB4\xC5\xA5" "2", ControlKind::kPushButton, kSplitButton,
   264, 73, 56, 24, true, true, 0, "\xC8\xB7\xB6\xA8"},
  // 标签3: "份"
  {"\xB1\xEA\xC7\xA9" "3", ControlKind::kLabel, kPiecesLabel,
   154, 73, 40, 24, true, false, 0, "\xB7\xDD"},
  // 编辑框2
  {"\xB1\xE0\xBC\xAD\xBF\xF2" "2", ControlKind::kEditBox, kPieceCountBox,
   80, 73, 64, 24, true, true, 0, ""},
  // 标签2: "分割份数："
  {"\xB1\xEA\xC7\xA9" "2", ControlKind::kLabel, kPieceCountLabel,
   19, 73, 61, 24, true, false, 0, "\xB7\xD6\xB8\xEE\xB7\xDD\xCA\xFD\xA3\xBA"},
  // 按钮1: "打开..."
  {"\xB0\xB4\xC5\xA5" "1", ControlKind::kPushButton, kOpenButton,
   264, 34, 56, 24, true, true, 0, "\xB4\xF2\xBF\xAA..."},
  // 编辑框1
  {"\xB1\xE0\xBC\xAD\xBF\xF2" "1", ControlKind::kEditBox, kBookPathBox,
   80, 34, 176, 24, true, true, 0, ""},
  // 标签1: "电子书："
  {"\xB1\xEA\xC7\xA9" "1", ControlKind::kLabel, kBookPathLabel,
   32, 34, 48, 24, true, false, 0, "\xB5\xE7\xD7\xD3\xCA\xE9\xA3\xBA"},
}};
// clang-format on

// The IDs of the controls that Tab visits, in order: visible tab stops,
// smallest tab index first, and among equal indices the control that stands
// later in the table first.
std::vector<int> FocusOrder(const ControlDefinition* controls, std::size_t count);

// The control after (step +1) or before (step -1) `current` in `order`,
// wrapping at either end; the first one when `current` is not in it.
int NextInFocusOrder(const std::vector<int>& order, int current, int step);

}  // namespace veskra
