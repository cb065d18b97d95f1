#include "restore/listing.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/memory_file_system.h"
#include "platform/scoped_install.h"

namespace velkaro {
namespace {

// D:\pics holds two pictures, a hidden one, a text file and two sub-folders
// whose names match the pattern; C:, the current drive, has pictures in its
// root and in C:\pics; D: has one in its root.
class WindowsListing : public ::testing::Test {
 protected:
  WindowsListing() : fs_(PathStyle::kWindows), use_(&fs_) {
    EXPECT_TRUE(fs_.addFile("D:\\pics\\a.jpg"));
    EXPECT_TRUE(fs_.addFolder("D:\\pics\\old.jpg"));
    EXPECT_TRUE(fs_.addFile("D:\\pics\\old.jpg\\inner.jpg"));
    EXPECT_TRUE(fs_.addFile("D:\\pics\\B.JPG"));
    EXPECT_TRUE(fs_.addFile("D:\\pics\\note.txt"));
    EXPECT_TRUE(fs_.addFile("D:\\pics\\.c.jpg"));
    EXPECT_TRUE(fs_.addFolder("D:\\pics\\mmexport1543717408.jpg"));
    EXPECT_TRUE(fs_.addFile("D:\\d.jpg"));
    EXPECT_TRUE(fs_.addFile("C:\\root.jpg"));
    EXPECT_TRUE(fs_.addFile("C:\\pics\\rel.jpg"));
  }

  MemoryFileSystem fs_;
  ScopedInstall<FileSystem, installFileSystem> use_;
};

TEST_F(WindowsListing, PrefixIsTheFolderTextWithOneSeparator) {
  struct Case {
    const char* what;
    Text folder;
    TextList expected;
  };
  const Case cases[] = {
      {"folder",
       "D:\\pics",
       {"D:\\pics\\a.jpg", "D:\\pics\\B.JPG", "D:\\pics\\.c.jpg"}},
      {"folder ending in the separator",
       "D:\\pics\\",
       {"D:\\pics\\a.jpg", "D:\\pics\\B.JPG", "D:\\pics\\.c.jpg"}},
      {"forward slash kept as written",
       "D:/pics",
       {"D:/pics\\a.jpg", "D:/pics\\B.JPG", "D:/pics\\.c.jpg"}},
      {"forward slash at the end is no separator here",
       "D:/pics/",
       {"D:/pics/\\a.jpg", "D:/pics/\\B.JPG", "D:/pics/\\.c.jpg"}},
      {"drive alone is its root", "D:", {"D:\\d.jpg"}},
      {"empty text is the root of the current drive", "", {"\\root.jpg"}},
      {"relative folder", "pics", {"pics\\rel.jpg"}},
      {"letter case of the folder ignored",
       "d:\\PICS",
       {"d:\\PICS\\a.jpg", "d:\\PICS\\B.JPG", "d:\\PICS\\.c.jpg"}},
      {"folder that does not exist", "D:\\none", {}},
      {"path of a file", "D:\\pics\\a.jpg", {}},
      {"sub-folder with a picture inside",
       "D:\\pics\\old.jpg",
       {"D:\\pics\\old.jpg\\inner.jpg"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TextList files;
    EXPECT_EQ(listFiles(c.folder, "*.jpg", files, true),
              static_cast<int>(c.expected.size()));
    EXPECT_EQ(files, c.expected);
  }
}

TEST_F(WindowsListing, BareNamesWithoutTheFolder) {
  TextList files;
  EXPECT_EQ(listFiles("D:\\pics", "*.jpg", files, false), 3);
  EXPECT_EQ(files, (TextList{"a.jpg", "B.JPG", ".c.jpg"}));
}

TEST_F(WindowsListing, EmptiesTheListFirst) {
  TextList files = {"stale 1", "stale 2", "stale 3", "stale 4"};
  EXPECT_EQ(listFiles("D:\\pics", "*.jpg", files, true), 3);
  EXPECT_EQ(files.front(), "D:\\pics\\a.jpg");

  files = {"stale"};
  EXPECT_EQ(listFiles("D:\\none", "*.jpg", files, true), 0);
  EXPECT_TRUE(files.empty());
}

TEST_F(WindowsListing, FolderTextMayBeAnItemOfTheList) {
  TextList files = {"D:\\pics"};
  EXPECT_EQ(listFiles(files[0], "*.jpg", files, false), 3);
  EXPECT_EQ(files, (TextList{"a.jpg", "B.JPG", ".c.jpg"}));
}

TEST_F(WindowsListing, OtherPatterns) {
  TextList files;
  EXPECT_EQ(listFiles("D:\\pics", "*", files, false), 4);
  EXPECT_EQ(files, (TextList{"a.jpg", "B.JPG", "note.txt", ".c.jpg"}));
  EXPECT_EQ(listFiles("D:\\pics", "?.jpg", files, false), 2);
  EXPECT_EQ(files, (TextList{"a.jpg", "B.JPG"}));
}

// The pump runs after each file is taken, once per file, and never for a
// folder: each call sees one more entry in the list.
TEST_F(WindowsListing, PumpRunsOncePerFileTaken) {
  TextList files;
  std::vector<int> seen;
  ScopedPump pump([&] { seen.push_back(static_cast<int>(files.size())); });

  listFiles("D:\\pics", "*.jpg", files, true);
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));

  seen.clear();
  listFiles("D:\\pics\\old.jpg\\none", "*.jpg", files, true);
  listFiles("D:\\pics", "*.txt", files, true);
  EXPECT_EQ(seen, (std::vector<int>{1}));

  seen.clear();
  EXPECT_TRUE(fs_.addFolder("E:\\only folders\\x.jpg"));
  EXPECT_TRUE(fs_.addFolder("E:\\only folders\\y.jpg"));
  EXPECT_EQ(listFiles("E:\\only folders", "*.jpg", files, true), 0);
  EXPECT_TRUE(seen.empty());
}

TEST(PumpEvents, WithoutAPumpReturnsAtOnce) {
  ScopedPump none{EventPump()};
  pumpEvents();
}

TEST(PumpEvents, RunsTheInstalledPump) {
  int calls = 0;
  ScopedPump pump([&] { ++calls; });
  pumpEvents();
  pumpEvents();
  EXPECT_EQ(calls, 2);
}

TEST(PosixListing, SlashIsTheSeparator) {
  MemoryFileSystem fs(PathStyle::kPosix);
  ScopedInstall<FileSystem, installFileSystem> use(&fs);
  ASSERT_TRUE(fs.addFile("/home/u/pics/a.jpg"));
  ASSERT_TRUE(fs.addFile("/home/u/pics/A.JPG"));
  ASSERT_TRUE(fs.addFolder("/home/u/pics/old.jpg"));
  ASSERT_TRUE(fs.addFile("/r.jpg"));

  struct Case {
    const char* what;
    Text folder;
    TextList expected;
  };
  const Case cases[] = {
      {"folder", "/home/u/pics", {"/home/u/pics/a.jpg", "/home/u/pics/A.JPG"}},
      {"folder ending in the separator",
       "/home/u/pics/",
       {"/home/u/pics/a.jpg", "/home/u/pics/A.JPG"}},
      {"empty text is the root", "", {"/r.jpg"}},
      {"root", "/", {"/r.jpg"}},
      {"letter case counts in folder names", "/home/u/PICS", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TextList files;
    EXPECT_EQ(listFiles(c.folder, "*.jpg", files, true),
              static_cast<int>(c.expected.size()));
    EXPECT_EQ(files, c.expected);
  }
}

}  // namespace
}  // namespace velkaro
