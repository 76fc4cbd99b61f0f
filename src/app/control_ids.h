// The fixed control IDs of the main window, one per control. Tests reach
// the controls with GetDlgItem(main, id).
#pragma once

namespace veskra {

enum ControlId : int {
  kAnnouncementLink = 1001,  // 超级链接框2
  kSeparatorLine = 1002,     // 分隔条1
  kForumLink = 1003,         // 超级链接框1
  kDelimiterBox = 1004,      // 编辑框3, hidden, holds CR LF
  kSplitButton = 1006,       // 按钮2 "确定"
  kPiecesLabel = 1007,       // 标签3 "份"
  kPieceCountBox = 1008,     // 编辑框2
  kPieceCountLabel = 1009,   // 标签2 "分割份数："
  kOpenButton = 1010,        // 按钮1 "打开..."
  kBookPathBox = 1011,       // 编辑框1
  kBookPathLabel = 1012,     // 标签1 "电子书："
};

// The main window's class and title, the way tests find it.
inline constexpr wchar_t kMainWindowClass[] = L"VeskraMainWindow";
inline constexpr wchar_t kMainWindowTitle[] = L"Veskra V3.2";

}  // namespace veskra
