// The restore run on real folders, in the POSIX path style: each test works
// in a folder of its own under the system's temporary directory and ends by
// checking that every file is still there with its content.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/fixed_clock_locale.h"
#include "platform/locale_services.h"
#include "platform/scoped_install.h"
#include "platform/scoped_time_zone.h"
#include "restore/listing.h"
#include "restore/restore_run.h"

namespace velkaro {
namespace {

namespace stdfs = std::filesystem;

std::string clockName(const ::testing::TestParamInfo<bool>& info) {
  return info.param ? "TwentyFourHourLocale" : "TwelveHourLocale";
}

std::optional<std::string> readFile(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in),
                     std::istreambuf_iterator<char>());
}

// A temporary folder at UTC+8 under a 12-hour or a 24-hour locale, on the
// host's own file system.
class RestoreOnDisk : public ::testing::TestWithParam<bool> {
 protected:
  RestoreOnDisk() : locale_(GetParam()), useLocale_(&locale_) {}

  void SetUp() override {
    ASSERT_EQ(fileSystem().pathStyle(), PathStyle::kPosix);
    std::string pattern =
        (stdfs::temp_directory_path() / "velkaro-restore-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }

  void TearDown() override {
    if (root_.empty()) return;
    std::error_code ignored;
    for (const stdfs::path& p : lockedFolders_) {
      stdfs::permissions(p, stdfs::perms::owner_all, ignored);
    }
    EXPECT_EQ(snapshot(), before_) << "a file was lost or overwritten";
    stdfs::remove_all(root_, ignored);
  }

  // The folder root/name, made with its parents.
  Text folder(const std::string& name) {
    const stdfs::path p = root_ / name;
    stdfs::create_directories(p);
    return p.string();
  }

  // A file at root/name whose content names it; remembered for TearDown.
  void file(const std::string& name) {
    const stdfs::path p = root_ / name;
    stdfs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << "content of " << name;
    before_ = snapshot();
  }

  void link(const std::string& name, const std::string& to) {
    stdfs::create_directory_symlink(root_ / to, root_ / name);
  }

  void lock(const std::string& name) {
    const stdfs::path p = root_ / name;
    stdfs::permissions(p, stdfs::perms::owner_read | stdfs::perms::owner_exec);
    lockedFolders_.push_back(p);
  }

  void run(const Text& folderText) {
    restoreFolder([folderText] { return folderText; });
  }

  // The sorted names in root/name, of every kind of entry.
  std::vector<std::string> namesIn(const std::string& name) const {
    std::vector<std::string> names;
    for (const auto& e : stdfs::directory_iterator(root_ / name)) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::optional<std::string> contentOf(const std::string& name) const {
    return readFile(root_ / name);
  }

  // The sorted contents of every regular file under root_ (links are not
  // followed), one per file.
  std::vector<std::string> snapshot() const {
    std::vector<std::string> all;
    for (const auto& e : stdfs::recursive_directory_iterator(root_)) {
      if (e.is_regular_file() && !e.is_symlink()) {
        all.push_back(readFile(e.path()).value_or("<unreadable>"));
      }
    }
    std::sort(all.begin(), all.end());
    return all;
  }

  ScopedTimeZone zone_{"Asia/Shanghai"};
  FixedClockLocale locale_;
  ScopedInstall<LocaleServices, installLocaleServices> useLocale_;
  stdfs::path root_;
  std::vector<std::string> before_;
  std::vector<stdfs::path> lockedFolders_;
};

INSTANTIATE_TEST_SUITE_P(Clock, RestoreOnDisk, ::testing::Bool(), clockName);

TEST_P(RestoreOnDisk, RenamesUsableStampsAndLeavesTheRest) {
  const Text pics = folder("pics");
  file("pics/mmexport1543717408.jpg");
  file("pics/mmexport1543731808000.jpg");
  file("pics/mmexport2147483647.jpg");
  file("pics/mmexport1543717413.jpg.jpg");
  file("pics/IMG_0001.jpg");
  file("pics/MMEXPORT1543717409.jpg");
  file("pics/mmexport1543717410.JPG");
  file("pics/mmexport1543717411 (1).jpg");
  file("pics/mmexport20181202102329.jpg");
  file("pics/mmexport2147483648.jpg");
  file("pics/mmexport1543717412.txt");
  run(pics);
  EXPECT_EQ(
      namesIn("pics"),
      (std::vector<std::string>{
          "IMG_0001.jpg", "MMEXPORT1543717409.jpg", "mmexport1543717410.JPG",
          "mmexport1543717411 (1).jpg", "mmexport1543717412.txt",
          "mmexport20181202102328.jpg", "mmexport20181202102329.jpg",
          "mmexport20181202102333.jpg", "mmexport20181202142328.jpg",
          "mmexport20380119111407.jpg", "mmexport2147483648.jpg"}));
  EXPECT_EQ(contentOf("pics/mmexport20181202142328.jpg"),
            "content of pics/mmexport1543731808000.jpg");
  EXPECT_EQ(contentOf("pics/mmexport20380119111407.jpg"),
            "content of pics/mmexport2147483647.jpg");
}

// The first of the two in listing order (the directory's own order) gets
// the name; the other keeps its own.
TEST_P(RestoreOnDisk, SameSecondTwice) {
  const Text pics = folder("pics");
  file("pics/mmexport1543717408000.jpg");
  file("pics/mmexport1543717408999.jpg");
  TextList order;
  ASSERT_EQ(listFiles(pics, "*.jpg", order, false), 2);
  run(pics);
  EXPECT_EQ(contentOf("pics/mmexport20181202102328.jpg"),
            "content of pics/" + order[0]);
  EXPECT_EQ(namesIn("pics"),
            (std::vector<std::string>{order[1], "mmexport20181202102328.jpg"}));
}

TEST_P(RestoreOnDisk, FolderTextEndingInTheSeparator) {
  const Text pics = folder("pics");
  file("pics/mmexport1543717408.jpg");
  run(pics + "/");
  EXPECT_EQ(namesIn("pics"),
            (std::vector<std::string>{"mmexport20181202102328.jpg"}));
}

// Sub-folders and links to folders are neither listed nor renamed, whatever
// their names; a hidden file is listed.
TEST_P(RestoreOnDisk, FoldersLinksAndHiddenFiles) {
  const Text pics = folder("pics");
  folder("pics/old.jpg");
  file("pics/old.jpg/mmexport1543717409.jpg");
  folder("pics/mmexport1543717410.jpg");
  link("pics/mmexport1543717411.jpg", "pics/old.jpg");
  link("pics/link.jpg", "pics/old.jpg");
  file("pics/.b.jpg");
  file("pics/mmexport1543717408.jpg");

  TextList listed;
  listFiles(pics, "*.jpg", listed, false);
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed, (TextList{".b.jpg", "mmexport1543717408.jpg"}));

  run(pics);
  EXPECT_EQ(namesIn("pics"), (std::vector<std::string>{
                                 ".b.jpg", "link.jpg", "mmexport1543717410.jpg",
                                 "mmexport1543717411.jpg",
                                 "mmexport20181202102328.jpg", "old.jpg"}));
  EXPECT_TRUE(stdfs::is_symlink(root_ / "pics/mmexport1543717411.jpg"));
  EXPECT_TRUE(stdfs::is_directory(root_ / "pics/mmexport1543717410.jpg"));
  EXPECT_EQ(namesIn("pics/old.jpg"),
            (std::vector<std::string>{"mmexport1543717409.jpg"}));
}

// A folder text that is a link to a folder lists and renames through it.
TEST_P(RestoreOnDisk, FolderTextIsALinkToAFolder) {
  folder("pics");
  file("pics/mmexport1543717408.jpg");
  link("shortcut", "pics");
  run((root_ / "shortcut").string());
  EXPECT_EQ(namesIn("pics"),
            (std::vector<std::string>{"mmexport20181202102328.jpg"}));
}

TEST_P(RestoreOnDisk, TargetExistsAsAFolder) {
  const Text pics = folder("pics");
  folder("pics/mmexport20181202102328.jpg");
  file("pics/mmexport20181202102328.jpg/inside.jpg");
  file("pics/mmexport1543717408.jpg");
  run(pics);
  EXPECT_TRUE(stdfs::is_directory(root_ / "pics/mmexport20181202102328.jpg"));
  EXPECT_EQ(contentOf("pics/mmexport1543717408.jpg"),
            "content of pics/mmexport1543717408.jpg");
}

// The path box changed while the folder was being listed: the files move
// into the folder it names now; those without a usable stamp stay.
TEST_P(RestoreOnDisk, FolderChangedDuringTheListing) {
  Text box = folder("pics");
  const Text other = folder("other");
  file("pics/mmexport1543717408.jpg");
  file("pics/IMG_0001.jpg");
  file("pics/mmexport1543717409000.jpg");
  int reads = 0;
  ScopedPump pump([&] { box = other; });
  restoreFolder([&] {
    ++reads;
    return box;
  });
  EXPECT_EQ(reads, 4);
  EXPECT_EQ(namesIn("pics"), (std::vector<std::string>{"IMG_0001.jpg"}));
  EXPECT_EQ(namesIn("other"),
            (std::vector<std::string>{"mmexport20181202102328.jpg",
                                      "mmexport20181202102329.jpg"}));
  EXPECT_EQ(contentOf("other/mmexport20181202102329.jpg"),
            "content of pics/mmexport1543717409000.jpg");
}

// Targets in a folder that is missing, is a file, or whose name is too long
// for the file system: every file stays as it was.
TEST_P(RestoreOnDisk, FolderChangedToOneThatCannotTakeTheFiles) {
  const Text pics = folder("pics");
  file("pics/mmexport1543717408.jpg");
  file("pics/mmexport1543717409.jpg");
  file("a file");
  const Text unusable[] = {
      (root_ / "missing").string(),
      (root_ / "a file").string(),
      (root_ / std::string(300, 'x')).string(),
  };
  for (const Text& box : unusable) {
    SCOPED_TRACE(box);
    bool listed = false;
    restoreFolder([&] {
      const bool first = !listed;
      listed = true;
      return first ? pics : box;
    });
    EXPECT_EQ(namesIn("pics"),
              (std::vector<std::string>{"mmexport1543717408.jpg",
                                        "mmexport1543717409.jpg"}));
  }
}

TEST_P(RestoreOnDisk, ReadOnlyFolder) {
  const Text pics = folder("pics");
  file("pics/mmexport1543717408.jpg");
  lock("pics");
  if (access(pics.c_str(), W_OK) == 0) {
    GTEST_SKIP() << "this user may write into a read-only folder";
  }
  run(pics);
  EXPECT_EQ(namesIn("pics"),
            (std::vector<std::string>{"mmexport1543717408.jpg"}));
}

TEST_P(RestoreOnDisk, FolderThatDoesNotExist) {
  file("pics/mmexport1543717408.jpg");
  int reads = 0;
  restoreFolder([&] {
    ++reads;
    return (root_ / "missing").string();
  });
  EXPECT_EQ(reads, 1);
  EXPECT_EQ(namesIn("pics"),
            (std::vector<std::string>{"mmexport1543717408.jpg"}));
}

}  // namespace
}  // namespace velkaro
