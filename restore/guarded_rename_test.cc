#include "restore/guarded_rename.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/memory_file_system.h"
#include "platform/scoped_install.h"

namespace velkaro {
namespace {

struct PathCase {
  const char* what;
  Text path;
  bool valid;
};

const PathCase kWindowsPaths[] = {
    {"drive and folder", "C:\\pics\\mmexport20181202102328.jpg", true},
    {"lower-case drive", "c:\\pics\\mmexport20181202102328.jpg", true},
    {"colon and slash", "D:/pics\\mmexport20181202102328.jpg", true},
    {"slashes only", "D:/pics/mmexport20181202102328.jpg", true},
    {"doubled separator", "C:\\pics\\\\mmexport20181202102328.jpg", true},
    {"root of a drive", "C:\\mmexport20181202102328.jpg", true},
    {"last letter", "z:\\a.jpg", true},
    {"colons and a star in the folder part", "C:\\a:b*?\\c.jpg", true},
    {"colon and separator further on", "CD:\\a.jpg", true},
    // The file-name split ends the folder part at a colon too, so the
    // name checked is b.jpg.
    {"colon after the folder", "C:\\pics\\a:b.jpg", true},
    {"second byte 0x5C is no separator",
     "C:\\pics\\\x95\\mmexport20181202102328.jpg", true},

    // The first byte is no ASCII letter.
    {"root of the current drive", "\\mmexport20181202102328.jpg", false},
    {"network path", "\\\\server\\share\\a.jpg", false},
    {"digit", "1:\\a.jpg", false},
    {"empty", "", false},
    {"byte before A", "@:\\a.jpg", false},
    {"byte after Z", "[:\\a.jpg", false},
    {"lead byte", "\xC4:\\a.jpg", false},
    {"slash", "/pics/a.jpg", false},

    // Neither ":\" nor ":/".
    {"relative folder", "pics\\a.jpg", false},
    {"drive without separator", "C:a.jpg", false},
    {"separator before the colon", "C\\:a.jpg", false},

    // The path ends in a folder.
    {"folder", "C:\\pics\\", false},
    {"drive root", "C:\\", false},
    {"doubled separator at the end", "C:\\pics\\\\", false},

    // A forbidden character in the file name.
    {"star", "C:\\pics\\a*b.jpg", false},
    {"question mark", "C:\\pics\\a?.jpg", false},
    {"less than", "C:\\pics\\a<b.jpg", false},
    {"greater than", "C:\\pics\\a>b.jpg", false},
    {"bar", "C:\\pics\\a|b.jpg", false},
    {"double quote", "C:\\pics\\a\"b.jpg", false},
    {"slash ending the folder name", "C:\\pics/", false},
};

const PathCase kPosixPaths[] = {
    {"folder and file", "/home/u/mmexport20181202102328.jpg", true},
    {"root folder written twice", "//mmexport20181202102328.jpg", true},
    {"doubled separator", "/pics//mmexport20181202102328.jpg", true},
    {"characters of the folder part not checked", "/a:b\\c*/d.jpg", true},
    {"file name with spaces", "/pics/a b.jpg", true},

    {"file in the root alone", "/mmexport20181202102328.jpg", false},
    {"relative", "pics/mmexport20181202102328.jpg", false},
    {"relative with a leading dot", "./pics/a.jpg", false},
    {"empty", "", false},
    {"root", "/", false},
    {"root twice", "//", false},
    {"folder", "/pics/", false},
    {"Windows path", "C:\\pics\\a.jpg", false},
    {"backslash in the name", "/pics/a\\b.jpg", false},
    {"colon in the name", "/pics/a:b.jpg", false},
    {"question mark in the name", "/pics/a?.jpg", false},
    {"double quote in the name", "/pics/\"a\".jpg", false},
};

TEST(IsValidFilePath, WindowsStyle) {
  for (const PathCase& c : kWindowsPaths) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(isValidFilePath(c.path, PathStyle::kWindows), c.valid);
  }
}

TEST(IsValidFilePath, PosixStyle) {
  for (const PathCase& c : kPosixPaths) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(isValidFilePath(c.path, PathStyle::kPosix), c.valid);
  }
}

// Without a style the installed file system's style and file-name split
// decide.
TEST(IsValidFilePath, FollowsTheInstalledFileSystem) {
  {
    MemoryFileSystem fs(PathStyle::kWindows);
    ScopedInstall<FileSystem, installFileSystem> use(&fs);
    for (const PathCase& c : kWindowsPaths) {
      SCOPED_TRACE(c.what);
      EXPECT_EQ(isValidFilePath(c.path), c.valid);
    }
  }
  {
    MemoryFileSystem fs(PathStyle::kPosix);
    ScopedInstall<FileSystem, installFileSystem> use(&fs);
    for (const PathCase& c : kPosixPaths) {
      SCOPED_TRACE(c.what);
      EXPECT_EQ(isValidFilePath(c.path), c.valid);
    }
  }
}

TEST(FileNameOf, WindowsStyle) {
  MemoryFileSystem fs(PathStyle::kWindows);
  ScopedInstall<FileSystem, installFileSystem> use(&fs);
  const std::pair<Text, Text> cases[] = {
      {"C:\\pics\\a.jpg", "a.jpg"},
      {"C:\\pics\\\\a.jpg", "a.jpg"},
      {"D:/pics\\a.jpg", "a.jpg"},
      {"D:\\pics/a.jpg", "a.jpg"},
      {"C:a.jpg", "a.jpg"},
      {"a.jpg", "a.jpg"},
      {"C:\\pics\\", ""},
      {"C:\\", ""},
      {"", ""},
      {"C:\\pics\\\x95\\a.jpg", "\x95\\a.jpg"},
  };
  for (const auto& [path, name] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(fileNameOf(path), name);
  }
}

TEST(FileNameOf, PosixStyle) {
  MemoryFileSystem fs(PathStyle::kPosix);
  ScopedInstall<FileSystem, installFileSystem> use(&fs);
  const std::pair<Text, Text> cases[] = {
      {"/pics/a.jpg", "a.jpg"},
      {"//a.jpg", "a.jpg"},
      {"/pics\\a.jpg", "pics\\a.jpg"},
      {"a.jpg", "a.jpg"},
      {"/pics/", ""},
      {"/", ""},
      {"", ""},
  };
  for (const auto& [path, name] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(fileNameOf(path), name);
  }
}

TEST(HasForbiddenNameChar, NineCharactersReadByTheTwoByteRule) {
  for (const char c : Text("?/\\<>*|:\"")) {
    SCOPED_TRACE(c);
    EXPECT_TRUE(hasForbiddenNameChar(Text("a") + c + "b.jpg"));
  }
  const std::pair<Text, bool> cases[] = {
      {"", false},
      {"mmexport20181202102328.jpg", false},
      {"a b(1)[2]{3}#%&'.jpg", false},
      // 0x95 0x5C and 0x95 0x7C are single characters, not "\" or "|".
      {"\x95\\.jpg", false},
      {"\x95|.jpg", false},
      {"\x95\\\\.jpg", true},
      {"\xD5\xD5?", true},
      // A lead byte at the very end takes nothing with it.
      {"a\x95", false},
  };
  for (const auto& [name, forbidden] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(hasForbiddenNameChar(name), forbidden);
  }
}

class RenameIfValid : public ::testing::Test {
 protected:
  RenameIfValid() : fs_(PathStyle::kWindows), use_(&fs_) {
    EXPECT_TRUE(fs_.addFile("D:\\pics\\a.jpg", "picture a"));
    EXPECT_TRUE(fs_.addFile("D:\\pics\\b.jpg", "picture b"));
    EXPECT_TRUE(fs_.addFolder("D:\\pics\\sub.jpg"));
    EXPECT_TRUE(fs_.addFolder("D:\\other"));
  }

  MemoryFileSystem fs_;
  ScopedInstall<FileSystem, installFileSystem> use_;
};

TEST_F(RenameIfValid, RenamesAndMovesIntoAnotherFolder) {
  EXPECT_TRUE(renameIfValid("D:\\pics\\a.jpg", "D:\\pics\\c.jpg"));
  EXPECT_FALSE(fs_.exists("D:\\pics\\a.jpg"));
  EXPECT_EQ(fs_.contentOf("D:\\pics\\c.jpg"), "picture a");

  EXPECT_TRUE(renameIfValid("D:\\pics\\b.jpg", "D:\\other\\b2.jpg"));
  EXPECT_FALSE(fs_.exists("D:\\pics\\b.jpg"));
  EXPECT_EQ(fs_.contentOf("D:\\other\\b2.jpg"), "picture b");
}

TEST_F(RenameIfValid, NeverReplacesAnything) {
  EXPECT_FALSE(renameIfValid("D:\\pics\\a.jpg", "D:\\pics\\b.jpg"));
  EXPECT_FALSE(renameIfValid("D:\\pics\\a.jpg", "d:\\PICS\\B.JPG"));
  EXPECT_FALSE(renameIfValid("D:\\pics\\a.jpg", "D:\\pics\\sub.jpg"));
  EXPECT_EQ(fs_.contentOf("D:\\pics\\a.jpg"), "picture a");
  EXPECT_EQ(fs_.contentOf("D:\\pics\\b.jpg"), "picture b");
  EXPECT_TRUE(fs_.isFolder("D:\\pics\\sub.jpg"));
  EXPECT_EQ(fs_.fileCount(), 2u);
}

TEST_F(RenameIfValid, MissingSourceOrFolderOrRefusedMove) {
  EXPECT_FALSE(renameIfValid("D:\\pics\\gone.jpg", "D:\\pics\\c.jpg"));
  EXPECT_FALSE(renameIfValid("D:\\pics\\a.jpg", "D:\\none\\c.jpg"));
  fs_.setMoveRefusal([](const Text&, const Text&) { return true; });
  EXPECT_FALSE(renameIfValid("D:\\pics\\a.jpg", "D:\\pics\\c.jpg"));
  EXPECT_EQ(fs_.contentOf("D:\\pics\\a.jpg"), "picture a");
  EXPECT_FALSE(fs_.exists("D:\\pics\\c.jpg"));
  EXPECT_EQ(fs_.movesMade(), 0);
}

// A refused target never reaches the file system, whatever the source.
TEST_F(RenameIfValid, RefusedTargetIsNotTried) {
  // Every one of these would be a move that could succeed if tried.
  ASSERT_TRUE(fs_.addFolder("C:\\pics"));
  std::vector<std::pair<Text, Text>> tried;
  fs_.setMoveRefusal([&](const Text& source, const Text& target) {
    tried.emplace_back(source, target);
    return false;
  });
  for (const Text target :
       {"\\pics\\c.jpg", "pics\\c.jpg", "D:\\pics\\", "D:\\pics\\c?.jpg", ""}) {
    SCOPED_TRACE(target);
    EXPECT_FALSE(renameIfValid("D:\\pics\\a.jpg", target));
    EXPECT_FALSE(renameIfValid("", target));
  }
  EXPECT_TRUE(tried.empty());
  EXPECT_EQ(fs_.contentOf("D:\\pics\\a.jpg"), "picture a");
  EXPECT_EQ(fs_.movesMade(), 0);
}

}  // namespace
}  // namespace velkaro
