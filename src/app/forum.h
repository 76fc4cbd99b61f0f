// The forum that both links point to. One place for its name, domain and
// address; the domain is a reserved example domain.
#pragma once

#include "text/byte_text.h"

namespace veskra {

// "书友论坛"
inline constexpr char kForumName[] = "\xCA\xE9\xD3\xD1\xC2\xDB\xCC\xB3";
inline constexpr char kForumDomain[] = "bbs.veskra.example";
inline constexpr char kForumAddress[] = "http://bbs.veskra.example/";
// The forum link's caption: the name, then the domain in ASCII parentheses.
// "书友论坛(bbs.veskra.example)"
inline constexpr char kForumCaption[] = "\xCA\xE9\xD3\xD1\xC2\xDB\xCC\xB3(bbs.veskra.example)";

}  // namespace veskra
