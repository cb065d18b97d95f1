// The Windows file system against the real platform calls.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>

#include "platform/file_system.h"
#include "platform/path_style.h"
#include "platform/win32/temp_folder.h"
#include "restore/listing.h"

namespace velkaro {
namespace {

struct Found {
  Text name;
  bool isFolder;
  bool operator<(const Found& other) const { return name < other.name; }
  bool operator==(const Found& other) const {
    return name == other.name && isFolder == other.isFolder;
  }
};

// Everything a search yields, sorted by name; *gotSearch tells whether
// there was a search at all.
std::vector<Found> searchAll(const Text& searchText, bool* gotSearch) {
  std::vector<Found> found;
  std::unique_ptr<DirectorySearch> search =
      hostFileSystem().findFiles(searchText);
  *gotSearch = search != nullptr;
  if (search == nullptr) return found;
  FoundEntry entry;
  while (search->next(&entry)) found.push_back({entry.name, entry.isFolder});
  EXPECT_FALSE(search->next(&entry)) << "a finished search stays finished";
  std::sort(found.begin(), found.end());
  return found;
}

TEST(Win32FileSystem, SearchMatchesNamesWithLetterCaseIgnored) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  for (const char* name : {"a.jpg", "B.JPG", "c.Jpg", "d.png", "e.jpg.png",
                           "hidden.jpg", "mmexport1543717408.jpg"}) {
    ASSERT_TRUE(folder.addFile(name)) << name;
  }
  SetFileAttributesA(folder.at("hidden.jpg").c_str(),
                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(folder.addFolder("old.jpg"));
  ASSERT_TRUE(folder.addFolder("sub"));
  ASSERT_TRUE(folder.addFile("sub\\inner.jpg"));

  bool gotSearch = false;
  const std::vector<Found> expected = {{"B.JPG", false},
                                       {"a.jpg", false},
                                       {"c.Jpg", false},
                                       {"hidden.jpg", false},
                                       {"mmexport1543717408.jpg", false},
                                       {"old.jpg", true}};
  EXPECT_EQ(searchAll(folder.at("*.jpg"), &gotSearch), expected);
  EXPECT_TRUE(gotSearch);
  EXPECT_EQ(searchAll(folder.at("*.JPG"), &gotSearch), expected);

  // "." and ".." come as folders too, so that the listing passes them over.
  const std::vector<Found> all = searchAll(folder.at("*"), &gotSearch);
  for (const char* name : {".", "..", "old.jpg", "sub"}) {
    EXPECT_NE(std::find(all.begin(), all.end(), Found{name, true}), all.end())
        << name;
  }
}

TEST(Win32FileSystem, ListingPassesOverFoldersAndTakesHiddenFiles) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  ASSERT_TRUE(folder.addFile("a.jpg"));
  ASSERT_TRUE(folder.addFile("B.JPG"));
  ASSERT_TRUE(folder.addFile("hidden.jpg"));
  SetFileAttributesA(folder.at("hidden.jpg").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(folder.addFile("note.txt"));
  ASSERT_TRUE(folder.addFolder("old.jpg"));
  ASSERT_TRUE(folder.addFile("old.jpg\\inner.jpg"));

  for (const Text& folderText : {folder.path(), folder.path() + "\\"}) {
    SCOPED_TRACE(folderText);
    TextList files = {"left over"};
    EXPECT_EQ(listFiles(folderText, "*.jpg", files, true), 3);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (TextList{folder.at("B.JPG"), folder.at("a.jpg"),
                               folder.at("hidden.jpg")}));
  }
  TextList names;
  listFiles(folder.path(), "*.jpg", names, false);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (TextList{"B.JPG", "a.jpg", "hidden.jpg"}));
}

TEST(Win32FileSystem, NothingToSearchGivesNoSearch) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  ASSERT_TRUE(folder.addFile("note.txt"));
  bool gotSearch = true;
  for (const Text& searchText :
       {folder.at("*.jpg"), folder.at("missing\\*.jpg"),
        folder.at("note.txt\\*.jpg")}) {
    SCOPED_TRACE(searchText);
    EXPECT_TRUE(searchAll(searchText, &gotSearch).empty());
    EXPECT_FALSE(gotSearch);
  }
  TextList files = {"left over"};
  EXPECT_EQ(listFiles(folder.at("missing"), "*.jpg", files, true), 0);
  EXPECT_TRUE(files.empty());
}

TEST(Win32FileSystem, MoveNeverReplacesAnythingAndMayChangeFolder) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  ASSERT_TRUE(folder.addFile("a.jpg", "first"));
  ASSERT_TRUE(folder.addFile("b.jpg", "second"));
  ASSERT_TRUE(folder.addFolder("taken.jpg"));
  ASSERT_TRUE(folder.addFolder("other"));
  FileSystem& fs = hostFileSystem();

  EXPECT_FALSE(fs.moveFile(folder.at("a.jpg"), folder.at("b.jpg")));
  EXPECT_FALSE(fs.moveFile(folder.at("a.jpg"), folder.at("B.JPG")));
  EXPECT_FALSE(fs.moveFile(folder.at("a.jpg"), folder.at("taken.jpg")));
  EXPECT_FALSE(fs.moveFile(folder.at("gone.jpg"), folder.at("new.jpg")));
  EXPECT_FALSE(fs.moveFile(folder.at("a.jpg"), folder.at("missing\\a.jpg")));
  EXPECT_FALSE(fs.moveFile("", folder.at("new.jpg")));
  EXPECT_EQ(folder.contentOf("a.jpg"), "first");
  EXPECT_EQ(folder.contentOf("b.jpg"), "second");

  EXPECT_TRUE(fs.moveFile(folder.at("a.jpg"), folder.at("c.jpg")));
  EXPECT_TRUE(fs.moveFile(folder.at("b.jpg"), folder.at("other\\b.jpg")));
  EXPECT_EQ(folder.namesIn(""), (TextList{"c.jpg", "other\\", "taken.jpg\\"}));
  EXPECT_EQ(folder.contentOf("c.jpg"), "first");
  EXPECT_EQ(folder.contentOf("other\\b.jpg"), "second");
}

TEST(Win32FileSystem, FileNameStartsWhereTheShellFindsIt) {
  FileSystem& fs = hostFileSystem();
  EXPECT_EQ(fs.pathStyle(), PathStyle::kWindows);
  struct Case {
    const char* path;
    int expected;
  };
  const Case cases[] = {
      {"C:\\pics\\a.jpg", 9},
      {"C:\\pics\\\\a.jpg", 10},
      {"D:/pics\\a.jpg", 9},
      {"C:/pics/a.jpg", 9},
      {"C:\\pics\\", 4},
      {"C:\\a.jpg", 4},
      {"C:a.jpg", 3},
      {"C:\\", 1},
      {"a.jpg", 1},
      {"\\\\server\\share\\a.jpg", 16},
      {"", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(fs.fileNameStart(c.path), c.expected);
    EXPECT_EQ(windowsFileNameStart(c.path), c.expected);
  }
}

// On a double-byte code page the shell pairs a lead byte with the byte
// after it, so a second byte 0x5C is no separator, as the two-byte
// character rule has it.
TEST(Win32FileSystem, FileNameStartKeepsTwoByteCharactersWhole) {
  if (!IsDBCSLeadByte(0x81)) {
    GTEST_SKIP() << "the ANSI code page " << GetACP()
                 << " has no two-byte characters";
  }
  const Text path =
      "C:\\pics\\\x81\x5C"
      "a.jpg";
  EXPECT_EQ(hostFileSystem().fileNameStart(path), 9);
  EXPECT_EQ(windowsFileNameStart(path), 9);
}

}  // namespace
}  // namespace velkaro
