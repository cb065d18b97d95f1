#include "platform/memory_file_system.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/search_testing.h"

namespace velkaro {
namespace {

using Files = std::vector<std::pair<Text, Text>>;

TEST(MemoryFileSystemTest, WindowsNamesIgnoreCaseAndTakeBothSeparators) {
  MemoryFileSystem fs(PathStyle::kWindows);
  ASSERT_TRUE(fs.addFile("D:\\Pics\\A.jpg", "a"));
  EXPECT_TRUE(fs.exists("d:/PICS/a.JPG"));
  EXPECT_TRUE(fs.isFolder("d:\\pics"));
  EXPECT_EQ(fs.contentOf("D:\\\\pics\\\\\\a.jpg"), "a");
  EXPECT_FALSE(fs.addFile("D:\\pics\\a.JPG", "b"));  // the same name
  // Names keep the case they were made with.
  EXPECT_EQ(fs.namesIn("D:"), TextList{"Pics"});
  EXPECT_EQ(fs.namesIn("D:\\PICS\\"), TextList{"A.jpg"});
  // "D:" alone and "D:\\" both name the drive's root.
  EXPECT_TRUE(fs.isFolder("D:"));
  EXPECT_TRUE(fs.isFolder("D:\\"));
  EXPECT_FALSE(fs.exists("E:"));
  EXPECT_TRUE(fs.isFolder("C:"));
  // A leading separator, or none, is the root of drive C:.
  ASSERT_TRUE(fs.addFile("\\x.jpg", "x"));
  EXPECT_EQ(fs.contentOf("C:\\X.JPG"), "x");
  EXPECT_EQ(fs.contentOf("x.jpg"), "x");
  // A network path names nothing.
  EXPECT_FALSE(fs.addFolder("\\\\server\\share"));
  EXPECT_FALSE(fs.exists("\\\\server\\share"));
  EXPECT_EQ(fs.allFiles(),
            (Files{{"C:\\x.jpg", "x"}, {"D:\\Pics\\A.jpg", "a"}}));
}

TEST(MemoryFileSystemTest, WindowsNamesReadTwoByteCharacters) {
  MemoryFileSystem fs(PathStyle::kWindows);
  // The second byte 0x5C does not separate: one file in the root.
  ASSERT_TRUE(
      fs.addFile("D:\\\x95\x5C"
                 "a.jpg"));
  EXPECT_EQ(fs.namesIn("D:\\"), TextList{"\x95\x5C"
                                         "a.jpg"});
  // A second byte is not a letter: these are two names.
  ASSERT_TRUE(
      fs.addFile("D:\\\xD5"
                 "a.jpg"));
  ASSERT_TRUE(
      fs.addFile("D:\\\xD5"
                 "A.jpg"));
  EXPECT_EQ(fs.fileCount(), 3u);
}

TEST(MemoryFileSystemTest, PosixNamesKeepCaseAndTakeOnlySlash) {
  MemoryFileSystem fs(PathStyle::kPosix);
  ASSERT_TRUE(fs.addFile("/pics/A.jpg", "upper"));
  ASSERT_TRUE(fs.addFile("/pics/a.jpg", "lower"));
  EXPECT_FALSE(fs.exists("/PICS/a.jpg"));
  EXPECT_EQ(fs.contentOf("//pics///A.jpg"), "upper");
  EXPECT_EQ(fs.contentOf("pics/a.jpg"), "lower");
  // A backslash is a byte of the name.
  ASSERT_TRUE(fs.addFile("/pics\\b.jpg"));
  EXPECT_EQ(fs.namesIn("/"), (TextList{"pics", "pics\\b.jpg"}));
  EXPECT_TRUE(fs.isFolder("/"));
  EXPECT_EQ(fs.allFiles(), (Files{{"/pics/A.jpg", "upper"},
                                  {"/pics/a.jpg", "lower"},
                                  {"/pics\\b.jpg", ""}}));
}

TEST(MemoryFileSystemTest, AFileInTheWayStopsMakingFolders) {
  for (PathStyle style : {PathStyle::kWindows, PathStyle::kPosix}) {
    MemoryFileSystem fs(style);
    ASSERT_TRUE(fs.addFile("/a.jpg", "a"));
    EXPECT_FALSE(fs.addFolder("/a.jpg"));
    EXPECT_FALSE(fs.addFolder("/a.jpg/sub"));
    EXPECT_FALSE(fs.addFile("/a.jpg/b.jpg"));
    EXPECT_FALSE(fs.addFile("/"));
    EXPECT_TRUE(fs.addFolder("/pics"));
    EXPECT_TRUE(fs.addFolder("/pics"));  // there already
    EXPECT_FALSE(fs.addFile("/pics"));
    EXPECT_EQ(fs.contentOf("/pics"), std::nullopt);
    EXPECT_EQ(fs.contentOf("/missing.jpg"), std::nullopt);
    EXPECT_TRUE(fs.namesIn("/missing").empty());
    EXPECT_EQ(fs.fileCount(), 1u);
  }
}

TEST(MemoryFileSystemTest, ListsInCreationOrderWithFoldersMarked) {
  MemoryFileSystem fs(PathStyle::kWindows);
  fs.addFile("D:\\pics\\b.jpg");
  fs.addFolder("D:\\pics\\old.jpg");
  fs.addFile("D:\\pics\\A.JPG");
  fs.addFile("D:\\pics\\notes.txt");
  fs.addFile("D:\\pics\\.c.jpg");
  fs.addFile("D:\\pics\\sub\\deep.jpg");
  const TextList expected = {"b.jpg", "old.jpg/", "A.JPG", ".c.jpg"};
  EXPECT_EQ(listedEntries(fs, "D:\\pics\\*.jpg"), expected);
  EXPECT_EQ(listedEntries(fs, "d:/PICS/*.JPG"), expected);
  EXPECT_EQ(listedEntries(fs, "D:\\pics\\\\*.jpg"), expected);
  EXPECT_EQ(listedEntries(fs, "D:\\pics\\?.jpg"), (TextList{"b.jpg", "A.JPG"}));
  EXPECT_EQ(
      listedEntries(fs, "D:\\pics\\*"),
      (TextList{"b.jpg", "old.jpg/", "A.JPG", "notes.txt", ".c.jpg", "sub/"}));
  fs.addFile("D:\\root.jpg");
  EXPECT_EQ(listedEntries(fs, "D:*.jpg"), TextList{"root.jpg"});
  EXPECT_EQ(listedEntries(fs, "D:\\*.jpg"), TextList{"root.jpg"});

  MemoryFileSystem posix(PathStyle::kPosix);
  posix.addFile("/pics/b.jpg");
  posix.addFile("/pics/A.JPG");
  posix.addFile("/pics/c.Jpg");
  // The pattern ignores letter case in the POSIX style too.
  EXPECT_EQ(listedEntries(posix, "/pics/*.jpg"),
            (TextList{"b.jpg", "A.JPG", "c.Jpg"}));
  EXPECT_EQ(listedEntries(posix, "/PICS/*.jpg"), TextList{"<null>"});
  posix.addFile("/top.jpg");
  EXPECT_EQ(listedEntries(posix, "/*.jpg"), TextList{"top.jpg"});
}

TEST(MemoryFileSystemTest, FindsNothingWhereNothingMatches) {
  MemoryFileSystem fs(PathStyle::kWindows);
  fs.addFile("D:\\pics\\a.txt");
  fs.addFile("D:\\file.jpg");
  const Text searches[] = {
      "D:\\pics\\*.jpg",           // no match
      "D:\\missing\\*.jpg",        // no folder
      "E:\\*.jpg",                 // no drive
      "D:\\file.jpg\\*.jpg",       // a file, not a folder
      "D:\\pics\\",                // no pattern
      "D:",                        // no pattern
      "",                          // nothing at all
      "\\\\server\\share\\*.jpg",  // a network path
  };
  for (const Text& s : searches) {
    EXPECT_EQ(fs.findFiles(s), nullptr) << s;
  }
}

TEST(MemoryFileSystemTest, ReportsEachListedEntryAndSeesChangesMadeThen) {
  MemoryFileSystem fs(PathStyle::kWindows);
  fs.addFile("D:\\pics\\a.jpg");
  fs.addFolder("D:\\pics\\old.jpg");
  fs.addFile("D:\\pics\\b.jpg");
  fs.addFile("D:\\pics\\c.jpg");
  fs.addFolder("D:\\other");
  TextList seen;
  fs.setOnListed([&](const FoundEntry& entry) {
    seen.push_back(entry.name);
    if (entry.name == "a.jpg") {
      // While a is being listed: b moves away, a new file comes in.
      EXPECT_TRUE(fs.moveFile("D:\\pics\\b.jpg", "D:\\other\\b.jpg"));
      EXPECT_TRUE(fs.addFile("D:\\pics\\new.jpg"));
    }
  });
  EXPECT_EQ(listedEntries(fs, "D:\\pics\\*.jpg"),
            (TextList{"a.jpg", "old.jpg/", "c.jpg", "new.jpg"}));
  EXPECT_EQ(seen, (TextList{"a.jpg", "old.jpg", "c.jpg", "new.jpg"}));
}

TEST(MemoryFileSystemTest, MovesAFileWithinAndBetweenFolders) {
  MemoryFileSystem fs(PathStyle::kWindows);
  fs.addFile("D:\\pics\\a.jpg", "a");
  fs.addFile("D:\\pics\\b.jpg", "b");
  fs.addFolder("E:\\other");
  ASSERT_TRUE(fs.moveFile("D:\\pics\\a.jpg", "D:\\pics\\z.jpg"));
  // The new name is listed last, as a newly made entry.
  EXPECT_EQ(fs.namesIn("D:\\pics"), (TextList{"b.jpg", "z.jpg"}));
  ASSERT_TRUE(fs.moveFile("d:/PICS/B.JPG", "E:\\other\\B.jpg"));
  EXPECT_EQ(fs.contentOf("E:\\other\\b.jpg"), "b");
  EXPECT_EQ(fs.movesMade(), 2);
  EXPECT_EQ(fs.allFiles(),
            (Files{{"D:\\pics\\z.jpg", "a"}, {"E:\\other\\B.jpg", "b"}}));

  MemoryFileSystem posix(PathStyle::kPosix);
  posix.addFile("/pics/a.jpg", "a");
  posix.addFolder("/other");
  EXPECT_FALSE(posix.moveFile("/pics/a.jpg", "/Other/a.jpg"));
  ASSERT_TRUE(posix.moveFile("/pics/a.jpg", "/other/A.jpg"));
  EXPECT_EQ(posix.allFiles(), (Files{{"/other/A.jpg", "a"}}));
}

TEST(MemoryFileSystemTest, RefusedMovesChangeNothing) {
  struct MoveCase {
    Text source;
    Text target;
  };
  const MoveCase windowsCases[] = {
      {"D:\\pics\\gone.jpg", "D:\\pics\\new.jpg"},    // no source
      {"D:\\pics\\sub", "D:\\pics\\new"},             // a folder
      {"D:\\pics", "D:\\new"},                        // a folder
      {"D:\\pics\\a.jpg", "D:\\pics\\b.jpg"},         // a file there
      {"D:\\pics\\a.jpg", "D:\\pics\\B.JPG"},         // the same, other case
      {"D:\\pics\\a.jpg", "D:\\pics\\A.JPG"},         // itself
      {"D:\\pics\\a.jpg", "D:\\pics\\Sub"},           // a folder there
      {"D:\\pics\\a.jpg", "D:\\missing\\a.jpg"},      // no target folder
      {"D:\\pics\\a.jpg", "D:\\pics\\b.jpg\\a.jpg"},  // a file as folder
      {"D:\\pics\\a.jpg", "E:\\a.jpg"},               // no drive
      {"D:\\pics\\a.jpg", "D:\\pics\\new.jpg\\"},     // names a folder
      {"D:\\pics\\a.jpg", "D:\\pics\\a?.jpg"},        // no such name
      {"D:\\pics\\a.jpg", "\\\\server\\share\\a.jpg"},
      {"D:\\pics\\a.jpg", ""},
      {"", "D:\\pics\\new.jpg"},
      {"D:", "D:\\new"},
  };
  MemoryFileSystem fs(PathStyle::kWindows);
  fs.addFile("D:\\pics\\a.jpg", "a");
  fs.addFile("D:\\pics\\b.jpg", "b");
  fs.addFolder("D:\\pics\\sub");
  const Files before = fs.allFiles();
  const TextList namesBefore = fs.namesIn("D:\\pics");
  for (const MoveCase& c : windowsCases) {
    EXPECT_FALSE(fs.moveFile(c.source, c.target))
        << c.source << " -> " << c.target;
  }
  EXPECT_EQ(fs.allFiles(), before);
  EXPECT_EQ(fs.namesIn("D:\\pics"), namesBefore);
  EXPECT_EQ(fs.movesMade(), 0);

  // Case counts in the POSIX style, so only the exact name collides.
  MemoryFileSystem posix(PathStyle::kPosix);
  posix.addFile("/pics/a.jpg", "a");
  posix.addFile("/pics/b.jpg", "b");
  EXPECT_FALSE(posix.moveFile("/pics/a.jpg", "/pics/b.jpg"));
  EXPECT_FALSE(posix.moveFile("/pics/a.jpg", "/pics"));
  EXPECT_FALSE(posix.moveFile("/pics/a.jpg", "/"));
  EXPECT_TRUE(posix.moveFile("/pics/a.jpg", "/pics/B.jpg"));
  EXPECT_EQ(posix.fileCount(), 2u);
}

TEST(MemoryFileSystemTest, MovesCanBeToldToFail) {
  MemoryFileSystem fs(PathStyle::kWindows);
  fs.addFile("D:\\pics\\a.jpg", "a");
  fs.addFile("D:\\pics\\b.jpg", "b");
  std::vector<std::pair<Text, Text>> asked;
  fs.setMoveRefusal([&](const Text& source, const Text& target) {
    asked.emplace_back(source, target);
    return source == "D:\\pics\\a.jpg";
  });
  EXPECT_FALSE(fs.moveFile("D:\\pics\\a.jpg", "D:\\pics\\x.jpg"));
  EXPECT_TRUE(fs.moveFile("D:\\pics\\b.jpg", "D:\\pics\\y.jpg"));
  EXPECT_EQ(asked, (Files{{"D:\\pics\\a.jpg", "D:\\pics\\x.jpg"},
                          {"D:\\pics\\b.jpg", "D:\\pics\\y.jpg"}}));
  EXPECT_EQ(fs.allFiles(),
            (Files{{"D:\\pics\\a.jpg", "a"}, {"D:\\pics\\y.jpg", "b"}}));
  EXPECT_EQ(fs.movesMade(), 1);
  fs.setMoveRefusal(nullptr);
  EXPECT_TRUE(fs.moveFile("D:\\pics\\a.jpg", "D:\\pics\\x.jpg"));
}

TEST(MemoryFileSystemTest, SplitsFileNamesByItsStyle) {
  MemoryFileSystem windows(PathStyle::kWindows);
  MemoryFileSystem posix(PathStyle::kPosix);
  EXPECT_EQ(windows.pathStyle(), PathStyle::kWindows);
  EXPECT_EQ(posix.pathStyle(), PathStyle::kPosix);
  EXPECT_EQ(windows.fileNameStart("D:/pics\\a.jpg"), 9);
  EXPECT_EQ(posix.fileNameStart("D:/pics\\a.jpg"), 4);
}

}  // namespace
}  // namespace velkaro
