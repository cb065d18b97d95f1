#include "platform/posix/file_system_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/search_testing.h"

namespace velkaro {
namespace {

// ---------------------------------------------------------------------------
// Helpers on real folders

Text temporaryBase() {
  const char* dir = std::getenv("TMPDIR");
  return (dir != nullptr && *dir != '\0') ? Text(dir) : Text(P_tmpdir);
}

// A new empty folder under base; "" when it cannot be made.
Text makeFolderUnder(const Text& base) {
  Text pattern = base + "/velkaro-fs-XXXXXX";
  return mkdtemp(pattern.data()) != nullptr ? pattern : Text();
}

int removeEntry(const char* path, const struct stat*, int, struct FTW*) {
  return remove(path);
}

void removeTree(const Text& path) {
  if (!path.empty()) {
    nftw(path.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
  }
}

bool writeFile(const Text& path, const Text& content) {
  std::ofstream out(path, std::ios::binary);
  out << content;
  return static_cast<bool>(out);
}

Text readFile(const Text& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

bool existsOnDisk(const Text& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

// The names in folder as readdir gives them, "." and ".." left out.
TextList namesOnDisk(const Text& folder) {
  TextList names;
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) {
    return names;
  }
  while (const dirent* d = readdir(dir)) {
    const Text name = d->d_name;
    if (name != "." && name != "..") {
      names.push_back(name);
    }
  }
  closedir(dir);
  return names;
}

// The contents of every regular file under folder (links not followed),
// sorted: equal before and after when no file was lost or overwritten,
// whatever the names became.
std::vector<Text> contentsUnder(const Text& folder) {
  std::vector<Text> contents;
  for (const Text& name : namesOnDisk(folder)) {
    const Text path = folder + "/" + name;
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) {
      continue;
    }
    if (S_ISDIR(st.st_mode)) {
      for (Text& c : contentsUnder(path)) {
        contents.push_back(std::move(c));
      }
    } else if (S_ISREG(st.st_mode)) {
      contents.push_back(readFile(path));
    }
  }
  std::sort(contents.begin(), contents.end());
  return contents;
}

TextList sorted(TextList list) {
  std::sort(list.begin(), list.end());
  return list;
}

// A temporary folder on the disk, removed with everything in it.
class TemporaryFolderTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = makeFolderUnder(temporaryBase());
    ASSERT_FALSE(dir_.empty());
  }
  void TearDown() override { removeTree(dir_); }

  Text at(const Text& name) const { return dir_ + "/" + name; }

  Text dir_;
};

// ---------------------------------------------------------------------------
// Listing

using PosixListingTest = TemporaryFolderTest;

TEST_F(PosixListingTest, ListsMatchingEntriesAndMarksFolders) {
  for (const char* name : {"a.jpg", "B.JPG", "c.Jpg", ".b.jpg", "d.jpeg",
                           "e.jpg.bak", "notes.txt", "\xD5\xD5.jpg"}) {
    ASSERT_TRUE(writeFile(at(name), name));
  }
  ASSERT_EQ(mkdir(at("old.jpg").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(at("sub").c_str(), 0755), 0);
  ASSERT_EQ(symlink("sub", at("link.jpg").c_str()), 0);
  ASSERT_EQ(symlink("a.jpg", at("file-link.jpg").c_str()), 0);
  ASSERT_EQ(symlink("missing", at("dangling.jpg").c_str()), 0);
  const std::vector<Text> before = contentsUnder(dir_);
  PosixFileSystem fs;

  EXPECT_EQ(sorted(listedEntries(fs, dir_ + "/*.jpg")),
            sorted({"a.jpg", "B.JPG", "c.Jpg", ".b.jpg", "\xD5\xD5.jpg",
                    "old.jpg/", "link.jpg/", "file-link.jpg", "dangling.jpg"}));
  EXPECT_EQ(sorted(listedEntries(fs, dir_ + "/*.JPG")),
            sorted(listedEntries(fs, dir_ + "/*.jpg")));
  // "?" is one byte: the two-byte name needs two.
  EXPECT_EQ(sorted(listedEntries(fs, dir_ + "/?.jpg")),
            sorted({"a.jpg", "B.JPG", "c.Jpg"}));
  EXPECT_EQ(sorted(listedEntries(fs, dir_ + "/??.jpg")),
            sorted({".b.jpg", "\xD5\xD5.jpg"}));
  // A doubled separator names the same folder.
  EXPECT_EQ(sorted(listedEntries(fs, dir_ + "//*.jpg")),
            sorted(listedEntries(fs, dir_ + "/*.jpg")));
  EXPECT_EQ(contentsUnder(dir_), before);
}

TEST_F(PosixListingTest, ListsInTheSystemsOrderWithoutDotEntries) {
  for (int i = 0; i < 40; ++i) {
    ASSERT_TRUE(writeFile(at("f" + std::to_string(i * 7919 % 40) + ".jpg"),
                          std::to_string(i)));
  }
  PosixFileSystem fs;
  EXPECT_EQ(listedEntries(fs, dir_ + "/*"), namesOnDisk(dir_));
  EXPECT_EQ(listedEntries(fs, dir_ + "/*").size(), 40u);
  EXPECT_EQ(listedEntries(fs, dir_ + "/.*"), TextList{"<null>"});
  EXPECT_EQ(contentsUnder(dir_).size(), 40u);
}

TEST_F(PosixListingTest, FindsNothingWhereNothingMatchesOrNoFolderIs) {
  ASSERT_TRUE(writeFile(at("a.txt"), "a"));
  ASSERT_EQ(mkdir(at("empty").c_str(), 0755), 0);
  PosixFileSystem fs;
  const Text searches[] = {
      dir_ + "/*.jpg",          // no match
      dir_ + "/empty/*",        // nothing at all
      dir_ + "/missing/*.jpg",  // no folder
      dir_ + "/a.txt/*",        // a file, not a folder
      dir_ + "/",               // no pattern
      "",                       // nothing to search
  };
  for (const Text& s : searches) {
    EXPECT_EQ(fs.findFiles(s), nullptr) << s;
  }
  if (geteuid() != 0) {  // the superuser reads every folder
    ASSERT_EQ(mkdir(at("locked").c_str(), 0755), 0);
    ASSERT_TRUE(writeFile(at("locked/b.jpg"), "b"));
    ASSERT_EQ(chmod(at("locked").c_str(), 0), 0);
    EXPECT_EQ(fs.findFiles(at("locked/*.jpg")), nullptr);
    chmod(at("locked").c_str(), 0755);
  }
  EXPECT_EQ(contentsUnder(dir_).size(), geteuid() != 0 ? 2u : 1u);
}

TEST(PosixListingRootTest, SearchesTheRootFolder) {
  PosixFileSystem fs;
  const TextList names = listedEntries(fs, "/*");
  ASSERT_NE(names, TextList{"<null>"});
  EXPECT_EQ(names.size(), namesOnDisk("/").size());
  for (const Text& name : names) {
    const bool reportedFolder = !name.empty() && name.back() == '/';
    const Text bare = reportedFolder ? name.substr(0, name.size() - 1) : name;
    struct stat st;
    const bool folder =
        stat(("/" + bare).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    EXPECT_EQ(reportedFolder, folder) << bare;
  }
}

TEST(PosixFileSystemTest, FollowsThePosixStyle) {
  PosixFileSystem fs;
  EXPECT_EQ(fs.pathStyle(), PathStyle::kPosix);
  EXPECT_EQ(fs.fileNameStart("/pics/a.jpg"), 7);
  EXPECT_EQ(&hostFileSystem(), &hostFileSystem());
  EXPECT_EQ(hostFileSystem().pathStyle(), PathStyle::kPosix);
}

// ---------------------------------------------------------------------------
// Moves on one file system, with the rename without replacing (true) and as
// where it is refused, by link and removal (false).

class PosixMoveTest : public TemporaryFolderTest,
                      public testing::WithParamInterface<bool> {
 protected:
  PosixFileSystem fs_{GetParam()};
};

TEST_P(PosixMoveTest, RenamesAndMovesIntoAnotherFolder) {
  ASSERT_TRUE(writeFile(at("a.jpg"), "a"));
  ASSERT_TRUE(writeFile(at("b.jpg"), "b"));
  ASSERT_EQ(mkdir(at("other").c_str(), 0755), 0);
  ASSERT_EQ(chmod(at("a.jpg").c_str(), 0604), 0);
  const std::vector<Text> before = contentsUnder(dir_);

  EXPECT_TRUE(fs_.moveFile(at("a.jpg"), at("mmexport20181202102328.jpg")));
  EXPECT_EQ(readFile(at("mmexport20181202102328.jpg")), "a");
  struct stat st;
  ASSERT_EQ(stat(at("mmexport20181202102328.jpg").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0604u);
  EXPECT_FALSE(existsOnDisk(at("a.jpg")));
  // Into another folder, by an unusual path to it.
  EXPECT_TRUE(fs_.moveFile(dir_ + "//b.jpg", at("other/./b2.jpg")));
  EXPECT_EQ(readFile(at("other/b2.jpg")), "b");
  EXPECT_EQ(sorted(namesOnDisk(dir_)),
            sorted({"mmexport20181202102328.jpg", "other"}));
  EXPECT_EQ(contentsUnder(dir_), before);
}

TEST_P(PosixMoveTest, NeverReplacesAnything) {
  ASSERT_TRUE(writeFile(at("a.jpg"), "a"));
  ASSERT_TRUE(writeFile(at("b.jpg"), "b"));
  ASSERT_EQ(mkdir(at("empty").c_str(), 0755), 0);
  ASSERT_EQ(mkdir(at("full").c_str(), 0755), 0);
  ASSERT_TRUE(writeFile(at("full/c.jpg"), "c"));
  ASSERT_EQ(symlink("missing", at("dangling.jpg").c_str()), 0);
  ASSERT_EQ(symlink("b.jpg", at("link.jpg").c_str()), 0);
  ASSERT_EQ(link(at("b.jpg").c_str(), at("b-too.jpg").c_str()), 0);
  const std::vector<Text> before = contentsUnder(dir_);
  const TextList namesBefore = sorted(namesOnDisk(dir_));

  const std::pair<Text, Text> refused[] = {
      {at("a.jpg"), at("b.jpg")},          // a file
      {at("a.jpg"), at("a.jpg")},          // itself
      {at("b.jpg"), at("b-too.jpg")},      // itself by another name
      {at("a.jpg"), at("empty")},          // an empty folder
      {at("a.jpg"), at("full")},           // a folder
      {at("a.jpg"), at("dangling.jpg")},   // a dangling link
      {at("a.jpg"), at("link.jpg")},       // a link
      {at("a.jpg"), at("empty/")},         // into no name
      {at("gone.jpg"), at("new.jpg")},     // no source
      {at("a.jpg"), at("missing/a.jpg")},  // no target folder
      {at("a.jpg"), at("b.jpg/a.jpg")},    // a file as folder
      {at("a.jpg"), ""},
      {"", at("new.jpg")},
  };
  for (const auto& [source, target] : refused) {
    EXPECT_FALSE(fs_.moveFile(source, target)) << source << " -> " << target;
  }
  EXPECT_EQ(sorted(namesOnDisk(dir_)), namesBefore);
  EXPECT_EQ(readFile(at("b.jpg")), "b");
  EXPECT_TRUE(namesOnDisk(at("empty")).empty());
  EXPECT_EQ(contentsUnder(dir_), before);
}

TEST_P(PosixMoveTest, TakesNamesAsBytes) {
  const Text gbk = "\xD5\xD5\xC6\xAC\x95\x5C.jpg";
  ASSERT_TRUE(writeFile(at(gbk), "g"));
  EXPECT_TRUE(fs_.moveFile(at(gbk), at("mmexport20181202102328.jpg")));
  EXPECT_TRUE(fs_.moveFile(at("mmexport20181202102328.jpg"), at("\xB0\xA1")));
  EXPECT_EQ(namesOnDisk(dir_), TextList{"\xB0\xA1"});
  EXPECT_EQ(contentsUnder(dir_), std::vector<Text>{"g"});
}

INSTANTIATE_TEST_SUITE_P(Both, PosixMoveTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "RenameNoReplace"
                                             : "LinkAndUnlink";
                         });

// ---------------------------------------------------------------------------
// Moves across file systems: from a folder on /dev/shm to one on the disk.

class PosixCrossMoveTest : public testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    struct stat shm;
    struct stat disk;
    if (stat("/dev/shm", &shm) != 0 ||
        stat(temporaryBase().c_str(), &disk) != 0 ||
        shm.st_dev == disk.st_dev) {
      GTEST_SKIP() << "no second file system at /dev/shm";
    }
    from_ = makeFolderUnder("/dev/shm");
    to_ = makeFolderUnder(temporaryBase());
    ASSERT_FALSE(from_.empty());
    ASSERT_FALSE(to_.empty());
  }
  void TearDown() override {
    removeTree(from_);
    removeTree(to_);
  }

  // A file of every byte value, longer than one copy buffer.
  static Text bigContent() {
    Text content;
    for (int i = 0; i < 300000; ++i) {
      content.push_back(static_cast<char>((i * 31 + i / 256) & 0xFF));
    }
    return content;
  }

  // Everything in both folders: no file lost, none doubled.
  std::vector<Text> allContents() const {
    std::vector<Text> all = contentsUnder(from_);
    for (Text& c : contentsUnder(to_)) {
      all.push_back(std::move(c));
    }
    std::sort(all.begin(), all.end());
    return all;
  }

  Text from_;
  Text to_;
  PosixFileSystem fs_{GetParam()};
};

TEST_P(PosixCrossMoveTest, KeepsDataModeAndTimes) {
  const Text source = from_ + "/mmexport1543717408000.jpg";
  const Text target = to_ + "/mmexport20181202102328.jpg";
  ASSERT_TRUE(writeFile(source, bigContent()));
  ASSERT_EQ(chmod(source.c_str(), 0640), 0);
  const struct timespec times[2] = {{1500000000, 5}, {1543717408, 123456789}};
  ASSERT_EQ(utimensat(AT_FDCWD, source.c_str(), times, 0), 0);
  const std::vector<Text> before = allContents();

  ASSERT_TRUE(fs_.moveFile(source, target));
  EXPECT_FALSE(existsOnDisk(source));
  EXPECT_EQ(readFile(target), bigContent());
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(st.st_mtim.tv_sec, 1543717408);
  EXPECT_EQ(st.st_mtim.tv_nsec, 123456789);
  // No temporary file in either folder.
  EXPECT_EQ(namesOnDisk(to_), TextList{"mmexport20181202102328.jpg"});
  EXPECT_TRUE(namesOnDisk(from_).empty());
  EXPECT_EQ(allContents(), before);
}

TEST_P(PosixCrossMoveTest, FailsWithoutReplacingOrLeavingACopy) {
  const Text source = from_ + "/a.jpg";
  ASSERT_TRUE(writeFile(source, "source"));
  ASSERT_TRUE(writeFile(to_ + "/file.jpg", "there"));
  ASSERT_EQ(mkdir((to_ + "/empty").c_str(), 0755), 0);
  ASSERT_EQ(symlink("missing", (to_ + "/dangling.jpg").c_str()), 0);
  ASSERT_EQ(mkdir((from_ + "/folder.jpg").c_str(), 0755), 0);
  ASSERT_EQ(symlink("a.jpg", (from_ + "/link.jpg").c_str()), 0);
  const std::vector<Text> before = allContents();
  const TextList fromBefore = sorted(namesOnDisk(from_));
  const TextList toBefore = sorted(namesOnDisk(to_));

  const std::pair<Text, Text> refused[] = {
      {source, to_ + "/file.jpg"},  // the data is copied, then refused
      {source, to_ + "/empty"},
      {source, to_ + "/dangling.jpg"},
      {source, to_ + "/missing/a.jpg"},
      {from_ + "/folder.jpg", to_ + "/folder.jpg"},  // a folder
      {from_ + "/link.jpg", to_ + "/link.jpg"},      // a link
  };
  for (const auto& [from, to] : refused) {
    EXPECT_FALSE(fs_.moveFile(from, to)) << from << " -> " << to;
  }
  EXPECT_EQ(sorted(namesOnDisk(from_)), fromBefore);
  EXPECT_EQ(sorted(namesOnDisk(to_)), toBefore);
  EXPECT_EQ(readFile(to_ + "/file.jpg"), "there");
  EXPECT_EQ(allContents(), before);
}

TEST_P(PosixCrossMoveTest, FailsCleanlyWhenTheCopyCannotBeWritten) {
  // A limit on the size of files written makes the copy fail part-way,
  // for the superuser too. It is set in a child process, which reports
  // the move's result by its exit status.
  const Text source = from_ + "/mmexport1543717408000.jpg";
  const Text target = to_ + "/mmexport20181202102328.jpg";
  ASSERT_TRUE(writeFile(source, bigContent()));
  const std::vector<Text> before = allContents();

  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const struct rlimit limit = {100000, 100000};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(fs_.moveFile(source, target) ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the move succeeded";
  EXPECT_EQ(namesOnDisk(from_), TextList{"mmexport1543717408000.jpg"});
  EXPECT_TRUE(namesOnDisk(to_).empty());
  EXPECT_EQ(readFile(source), bigContent());
  EXPECT_EQ(allContents(), before);
}

// Folders that cannot be written hold back the superuser only through a
// process that gives up its rights: the move runs in a child as "nobody".
// Returns the move's result, or -1 when the rights cannot be given up.
int moveWithoutPrivileges(FileSystem& fs, const Text& source,
                          const Text& target) {
  const pid_t child = fork();
  if (child == -1) {
    return -1;
  }
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
      _exit(2);
    }
    _exit(fs.moveFile(source, target) ? 1 : 0);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) > 1) {
    return -1;
  }
  return WEXITSTATUS(status);
}

TEST_P(PosixCrossMoveTest, FailsCleanlyWhereAFolderCannotBeWritten) {
  const Text source = from_ + "/mmexport1543717408000.jpg";
  const Text target = to_ + "/mmexport20181202102328.jpg";
  ASSERT_TRUE(writeFile(source, "picture"));
  ASSERT_EQ(chmod(source.c_str(), 0644), 0);
  const std::vector<Text> before = allContents();
  struct Case {
    mode_t fromMode;
    mode_t toMode;
    const char* what;
  };
  const Case cases[] = {
      {0777, 0555, "no temporary file can be made in the target folder"},
      // The copy is published, the source cannot be removed: the copy goes.
      {0555, 0777, "the source cannot be removed"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(chmod(from_.c_str(), c.fromMode), 0);
    ASSERT_EQ(chmod(to_.c_str(), c.toMode), 0);
    const int moved = moveWithoutPrivileges(fs_, source, target);
    chmod(from_.c_str(), 0700);
    chmod(to_.c_str(), 0700);
    if (moved == -1) {
      GTEST_SKIP() << "cannot run without privileges";
    }
    EXPECT_EQ(moved, 0) << c.what;
    EXPECT_EQ(namesOnDisk(from_), TextList{"mmexport1543717408000.jpg"})
        << c.what;
    EXPECT_TRUE(namesOnDisk(to_).empty()) << c.what;
    EXPECT_EQ(allContents(), before) << c.what;
  }
}

INSTANTIATE_TEST_SUITE_P(Both, PosixCrossMoveTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "RenameNoReplace"
                                             : "LinkAndUnlink";
                         });

}  // namespace
}  // namespace velkaro
