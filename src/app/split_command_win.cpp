// The split button's command: cut the book named in the book path box into
// the number of pieces typed, then show its folder.
#include <vector>

#include "app/main_window_win.h"
#include "split/file_access.h"
#include "split/split_book.h"

namespace veskra {
namespace {

// "错误！"
constexpr char kErrorTitle[] = "\xB4\xED\xCE\xF3\xA3\xA1";
// "请选择要分割的文件！"
constexpr char kChooseBookText[] =
    "\xC7\xEB\xD1\xA1\xD4\xF1\xD2\xAA\xB7\xD6\xB8\xEE\xB5\xC4\xCE\xC4\xBC\xFE\xA3\xA1";
// "无法打开文件："
constexpr char kCannotOpenBook[] = "\xCE\xDE\xB7\xA8\xB4\xF2\xBF\xAA\xCE\xC4\xBC\xFE\xA3\xBA";
// "分割份数过大："
constexpr char kCountTooLarge[] = "\xB7\xD6\xB8\xEE\xB7\xDD\xCA\xFD\xB9\xFD\xB4\xF3\xA3\xBA";
// "份数超过 100000 时，不能超过电子书的字节数。"
constexpr char kCountRule[] =
    "\xB7\xDD\xCA\xFD\xB3\xAC\xB9\xFD 100000 \xCA\xB1\xA3\xAC\xB2\xBB\xC4\xDC\xB3\xAC\xB9\xFD"
    "\xB5\xE7\xD7\xD3\xCA\xE9\xB5\xC4\xD7\xD6\xBD\xDA\xCA\xFD\xA1\xA3";
// "以下分割文件无法写入："
constexpr char kPiecesNotWritten[] =
    "\xD2\xD4\xCF\xC2\xB7\xD6\xB8\xEE\xCE\xC4\xBC\xFE\xCE\xDE\xB7\xA8\xD0\xB4\xC8\xEB\xA3\xBA";
// "原因不明"
constexpr char kUnknownReason[] = "\xD4\xAD\xD2\xF2\xB2\xBB\xC3\xF7";
// "以及另外 " … " 个文件。"
constexpr char kAndMore[] = "\xD2\xD4\xBC\xB0\xC1\xED\xCD\xE2 ";
constexpr char kMoreFiles[] = " \xB8\xF6\xCE\xC4\xBC\xFE\xA1\xA3";
constexpr char kLineBreak[] = "\r\n";

// One box lists at most this many pieces; the rest are counted.
constexpr std::size_t kMostListedPieces = 20;

// The system's reason without its trailing line break.
ByteText Reason(const SystemError& why) {
  ByteText text = why.message;
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
    text.pop_back();
  }
  return text.empty() ? ByteText(kUnknownReason) : text;
}

struct FailedPiece {
  ByteText name;
  ByteText reason;
};

ByteText PiecesNotWrittenText(const std::vector<FailedPiece>& failed, std::int64_t failed_count) {
  ByteText text = JoinTexts({kPiecesNotWritten, kLineBreak});
  for (const FailedPiece& piece : failed) {
    text += JoinTexts({piece.name, kLineBreak, "    ", piece.reason, kLineBreak});
  }
  const auto listed = static_cast<std::int64_t>(failed.size());
  if (failed_count > listed) {
    text += JoinTexts({kAndMore, FormatInteger(failed_count - listed), kMoreFiles});
  }
  return text;
}

}  // namespace

void MainWindow::SplitBook() {
  const ByteText path = Content(kBookPathBox);
  if (TextsEqual(path, "")) {
    ShowMessageBox(kChooseBookText, kErrorTitle);
    return;
  }
  const ByteText count_text = Content(kPieceCountBox);
  const ByteText delimiter = Content(kDelimiterBox);

  std::vector<FailedPiece> failed;
  const SplitOutcome outcome =
      SplitBookFile(path, count_text, delimiter, [&failed](const PieceResult& result) {
        if (!result.written && failed.size() < kMostListedPieces) {
          failed.push_back({result.piece.name, Reason(result.why)});
        }
      });

  switch (outcome.status) {
    case SplitStatus::kBookUnreadable:
      // Nothing was written: say why, and leave the box as it is.
      ShowMessageBox(JoinTexts({kCannotOpenBook, path, kLineBreak, Reason(outcome.book_error)}),
                     kErrorTitle);
      return;
    case SplitStatus::kCountRefused:
      ShowMessageBox(JoinTexts({kCountTooLarge, count_text, kLineBreak, kCountRule}), kErrorTitle);
      return;
    case SplitStatus::kDone:
      break;
  }
  if (outcome.pieces_failed > 0) {
    ShowMessageBox(PiecesNotWrittenText(failed, outcome.pieces_failed), kErrorTitle);
  }

  const ByteView folder = LeftPart(path, FindBackward(path, "\\"));
  OpenInShell(folder);
  SetContent(kBookPathBox, folder);
}

}  // namespace veskra
