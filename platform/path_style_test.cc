#include "platform/path_style.h"

#include <gtest/gtest.h>

namespace velkaro {
namespace {

struct SplitCase {
  Text path;
  Text name;  // the text from the returned position to the end
};

// The position is where name begins: the path ends in name.
int expectedStart(const SplitCase& c) {
  return static_cast<int>(c.path.size() - c.name.size()) + 1;
}

TEST(WindowsFileNameStartTest, SplitsLikeTheShell) {
  const SplitCase cases[] = {
      {"C:\\pics\\a.jpg", "a.jpg"},
      {"C:\\pics\\\\a.jpg", "a.jpg"},
      {"D:/pics\\a.jpg", "a.jpg"},
      {"D:/pics/a.jpg", "a.jpg"},
      {"C:\\a.jpg", "a.jpg"},
      {"C:a.jpg", "a.jpg"},
      {"\\a.jpg", "a.jpg"},
      {"\\\\server\\share", "share"},
      {"a.jpg", "a.jpg"},
      {"a:b", "b"},
      // A separator followed by nothing or by another separator begins no
      // component: a folder keeps its trailing separators.
      {"C:\\pics\\", "pics\\"},
      {"C:\\pics\\\\", "pics\\\\"},
      {"C:\\pics\\/", "pics\\/"},
      {"C:\\pics\\a.jpg:", "a.jpg:"},
      // Roots and the empty path: the whole path.
      {"C:\\", "C:\\"},
      {"C:/", "C:/"},
      {"C:", "C:"},
      {"\\", "\\"},
      {"", ""},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(windowsFileNameStart(c.path), expectedStart(c)) << c.path;
  }
}

TEST(WindowsFileNameStartTest, WalksTwoByteCharacters) {
  const SplitCase cases[] = {
      // A second byte 0x5C is part of its character, not a separator.
      {"C:\\pics\\\x95\x5C"
       "a.jpg",
       "\x95\x5C"
       "a.jpg"},
      {"C:\\\x95\x5C", "\x95\x5C"},
      {"C:\\\x95\x5C\\a.jpg", "a.jpg"},
      {"C:\\\xB1\xED\xB8\xF1\\\xD5\xD5\xC6\xAC.jpg", "\xD5\xD5\xC6\xAC.jpg"},
      // A lead byte takes a real "\\" with it as its second byte.
      {"C:\\pics\xD5\\a.jpg", "pics\xD5\\a.jpg"},
      // A lead byte at the very end stands alone.
      {"C:\\a\xD5", "a\xD5"},
      {"C:\\\xD5", "\xD5"},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(windowsFileNameStart(c.path), expectedStart(c)) << c.path;
  }
}

TEST(PosixFileNameStartTest, SplitsAfterTheLastSlash) {
  const SplitCase cases[] = {
      {"/pics/a.jpg", "a.jpg"},
      {"//a.jpg", "a.jpg"},
      {"/a.jpg", "a.jpg"},
      {"a.jpg", "a.jpg"},
      {"pics/a.jpg", "a.jpg"},
      {"/pics/", "pics/"},
      {"/pics//", "/"},
      {"/", "/"},
      {"", ""},
      // Only "/" separates, and every byte is a byte of its own.
      {"/pics\\a.jpg", "pics\\a.jpg"},
      {"C:\\pics\\a.jpg", "C:\\pics\\a.jpg"},
      {"/pics/\x95\x5C.jpg", "\x95\x5C.jpg"},
      {"/a\xD5/b.jpg", "b.jpg"},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(posixFileNameStart(c.path), expectedStart(c)) << c.path;
  }
}

}  // namespace
}  // namespace velkaro
