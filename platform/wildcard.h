// Wildcard patterns as directory searches match them against whole names.

#ifndef VELKARO_PLATFORM_WILDCARD_H_
#define VELKARO_PLATFORM_WILDCARD_H_

#include "values/text.h"

namespace velkaro {

// Whether the whole of name matches pattern, where "*" stands for any run
// of characters (none included) and "?" for exactly one; every other
// character matches itself, ASCII letters in either case. With
// twoByteCharacters a byte of 0x80 or above begins a two-byte character
// together with the byte after it (so "?" takes both bytes, and the second
// byte is never a wildcard and never folded); without, every byte is a
// character of its own.
//   wildcardMatches("*.jpg", "A.JPG", false) == true
//   wildcardMatches("*.jpg", "a.jpg.bak", false) == false
//   wildcardMatches("?.jpg", "\xD5\xD5.jpg", true) == true   (one character)
//   wildcardMatches("?.jpg", "\xD5\xD5.jpg", false) == false (two bytes)
bool wildcardMatches(const Text& pattern, const Text& name,
                     bool twoByteCharacters);

}  // namespace velkaro

#endif  // VELKARO_PLATFORM_WILDCARD_H_
