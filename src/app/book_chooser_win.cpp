// The book chooser: the open-file dialog for one existing file, starting
// from the last book chosen in it.
#include "app/book_chooser.h"

#include <commdlg.h>

#include <algorithm>
#include <array>
#include <string>

#include "app/link_logic.h"
#include "platform/gbk.h"

namespace veskra {
namespace {

// A full path and its NUL.
constexpr std::size_t kPathChars = 260;

}  // namespace

bool BookChooser::Show(HWND owner) {
  const FilterList filters = BuildFilterList(filter_, 0);
  // The list holds NULs; the conversion keeps them, its length is explicit.
  const std::wstring filter_list = WideFromGbk(filters.entries);

  // From the second use on the dialog starts with the previous choice.
  std::array<wchar_t, kPathChars> file{};
  const std::wstring previous = WideFromGbk(path_);
  std::copy_n(previous.begin(), std::min(previous.size(), kPathChars - 1), file.begin());

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter_list.empty() ? nullptr : filter_list.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(filters.index);
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  // No file-title buffer: its content is not used, and a short one could
  // refuse a file with a long name.
  dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST |
                 OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT;
  // Cancel, closing the dialog and any failure of it leave the path as it was.
  if (!GetOpenFileNameW(&dialog)) return false;

  const std::wstring chosen(file.data());
  ByteText chosen_gbk = GbkFromWide(chosen);
  // A path with characters that GBK cannot hold would name another file;
  // such a choice counts as a failure of the dialog.
  if (chosen.empty() || WideFromGbk(chosen_gbk) != chosen) return false;
  path_ = std::move(chosen_gbk);
  return true;
}

}  // namespace veskra
