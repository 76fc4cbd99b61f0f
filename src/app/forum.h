// The forum that both links point to. One place for its name, domain and
// address; the domain is a reserved example domain, short enough that the
// caption fits the forum link's 152 pixels in the default GUI font.
#pragma once

#include "text/byte_text.h"

namespace veskra {

// "书友论坛"
inline constexpr char kForumName[] = "\xCA\xE9\xD3\xD1\xC2\xDB\xCC\xB3";
inline constexpr char kForumDomain[] = "veskra.example";
inline constexpr char kForumAddress[] = "http://veskra.example/";
// The forum link's caption: the name, then the domain in ASCII parentheses.
// "书友论坛(veskra.example)"
inline constexpr char kForumCaption[] = "\xCA\xE9\xD3\xD1\xC2\xDB\xCC\xB3(veskra.example)";

}  // namespace veskra
