#include "platform/wildcard.h"

#include <gtest/gtest.h>

namespace velkaro {
namespace {

struct MatchCase {
  Text pattern;
  Text name;
  bool matches;
};

TEST(WildcardMatchesTest, MatchesWholeNamesIgnoringAsciiCase) {
  const MatchCase cases[] = {
      {"*.jpg", "a.jpg", true},
      {"*.jpg", "A.JPG", true},
      {"*.JPG", "mmexport1543717408000.jpg", true},
      {"*.jpg", ".jpg", true},
      {"*.jpg", ".b.jpg", true},
      {"*.jpg", "mmexport1543717408 (1).jpg", true},
      {"*.jpg", "a.jpg.bak", false},
      {"*.jpg", "a.jpeg", false},
      {"*.jpg", "ajpg", false},
      {"*.jpg", "", false},
      {"*", "", true},
      {"*", "anything", true},
      {"", "", true},
      {"", "a", false},
      {"a.jpg", "a.jpg", true},
      {"a.jpg", "ba.jpg", false},
      {"?.jpg", "a.jpg", true},
      {"?.jpg", ".jpg", false},
      {"??", "ab", true},
      {"a*b*c", "axxbyyc", true},
      {"a*b*c", "axxbyy", false},
      {"*a*a", "aaaa", true},
      {"*ab", "aab", true},
      {"**x", "yx", true},
      // Only ASCII letters fold; other bytes must be equal.
      {"\xC1.jpg", "\xE1.jpg", false},
      {"[.jpg", "{.jpg", false},
  };
  for (const MatchCase& c : cases) {
    EXPECT_EQ(wildcardMatches(c.pattern, c.name, false), c.matches)
        << c.pattern << " / " << c.name;
  }
}

TEST(WildcardMatchesTest, TwoByteCharactersCountAsOne) {
  const MatchCase cases[] = {
      {"?.jpg", "\xD5\xD5.jpg", true},
      {"??.jpg", "\xD5\xD5.jpg", false},
      {"*.jpg", "\xD5\xD5\xC6\xAC.jpg", true},
      // The second byte is no wildcard and no letter to fold.
      {"\x95*",
       "\x95"
       "a",
       false},
      {"\x95*", "\x95*", true},
      {"\xD5"
       "a",
       "\xD5"
       "A",
       false},
      {"a\xD5", "A\xD5", true},
  };
  for (const MatchCase& c : cases) {
    EXPECT_EQ(wildcardMatches(c.pattern, c.name, true), c.matches)
        << c.pattern << " / " << c.name;
  }
  // Byte by byte, "?" takes one byte and the second byte is a character.
  EXPECT_FALSE(wildcardMatches("?.jpg", "\xD5\xD5.jpg", false));
  EXPECT_TRUE(wildcardMatches("??.jpg", "\xD5\xD5.jpg", false));
  EXPECT_TRUE(wildcardMatches("\x95*",
                              "\x95"
                              "a",
                              false));
  EXPECT_TRUE(
      wildcardMatches("\xD5"
                      "a",
                      "\xD5"
                      "A",
                      false));
}

}  // namespace
}  // namespace velkaro
