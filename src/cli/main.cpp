// veskra-split BOOK COUNT: splits a book exactly as the window's split button
// does, and lists each piece written with its size.
#include <cstdio>
#include <cstdlib>

#include "cli/arguments.h"
#include "split/split_book.h"
#include "text/fatal_error.h"

namespace {

using veskra::ByteText;
using veskra::ByteView;

constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr char kUsageText[] =
    "usage: veskra-split BOOK COUNT\n"
    "Splits the GBK text file BOOK into COUNT pieces cut at line ends (CR LF),\n"
    "written beside it: for book.txt, book1.txt, book2.txt, ... bookCOUNT.txt.\n"
    "Prints each piece written with its size in bytes.\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n";

void Print(std::FILE* stream, ByteView text) { std::fwrite(text.data(), 1, text.size(), stream); }

void PrintError(std::initializer_list<ByteView> parts) { Print(stderr, veskra::JoinTexts(parts)); }

[[noreturn]] void StopOnFatalError(ByteView message) {
  PrintError({"veskra-split: ", message, "\n"});
  std::fflush(stderr);
  std::_Exit(kFailed);
}

int Split(ByteView book, ByteView count_text) {
  if (veskra::ParseInteger(count_text) <= 0) {
    PrintError({"veskra-split: COUNT must be a whole number of 1 or more, not '", count_text, "'\n",
                kUsageText});
    return kUsage;
  }
  const veskra::SplitOutcome outcome =
      veskra::SplitBookFile(book, count_text, "\r\n", [](const veskra::PieceResult& result) {
        if (result.written) {
          Print(stdout, veskra::JoinTexts(
                            {result.piece.name, "\t",
                             veskra::FormatInteger(veskra::ByteCount(result.piece.bytes)), "\n"}));
        } else {
          PrintError(
              {"veskra-split: cannot write '", result.piece.name, "': ", result.why.message, "\n"});
        }
      });
  switch (outcome.status) {
    case veskra::SplitStatus::kBookUnreadable:
      PrintError({"veskra-split: cannot read '", book, "': ", outcome.book_error.message, "\n"});
      return kFailed;
    case veskra::SplitStatus::kCountRefused:
      PrintError({"veskra-split: refusing ", count_text,
                  " pieces: the count is larger than the book's length in bytes, so most "
                  "pieces would be empty\n"});
      return kUsage;
    case veskra::SplitStatus::kDone:
      break;
  }
  return outcome.pieces_failed == 0 ? EXIT_SUCCESS : kFailed;
}

}  // namespace

int main(int argc, char** argv) {
  veskra::UseBinaryConsole();
  veskra::SetFatalErrorHandler(&StopOnFatalError);
  std::vector<ByteText> arguments = veskra::CommandArguments(argc, argv);
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    Print(stdout, kUsageText);
    return EXIT_SUCCESS;
  }
  if (arguments.size() == 1 && arguments[0] == "--version") {
    Print(stdout, "veskra-split " VESKRA_VERSION "\n");
    return EXIT_SUCCESS;
  }
  // "--" lets a book's name begin with a dash.
  if (!arguments.empty() && arguments[0] == "--") arguments.erase(arguments.begin());
  if (arguments.size() != 2) {
    Print(stderr, kUsageText);
    return kUsage;
  }
  const int status = Split(arguments[0], arguments[1]);
  std::fflush(stdout);
  return status;
}
