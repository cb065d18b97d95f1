#include "restore/restore_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/fixed_clock_locale.h"
#include "platform/locale_services.h"
#include "platform/memory_file_system.h"
#include "platform/scoped_install.h"
#include "platform/scoped_time_zone.h"
#include "platform/script_host.h"

namespace velkaro {
namespace {

// A machine on which the script host cannot be started.
class NoScriptHost : public ScriptRuntime {
 public:
  void initialize() override {}
  void uninitialize() override {}
  std::unique_ptr<ScriptHost> createHost(const Text&) override {
    return nullptr;
  }
};

// The clock setting of the locale, which must never show in a name.
std::string clockName(const ::testing::TestParamInfo<bool>& info) {
  return info.param ? "TwentyFourHourLocale" : "TwelveHourLocale";
}

// A run at UTC+8 over an in-memory Windows file system, under a 12-hour or
// a 24-hour locale. Every file's content is unique, so that a lost or
// overwritten file shows.
class RestoreRun : public ::testing::TestWithParam<bool> {
 protected:
  RestoreRun() : locale_(GetParam()), useLocale_(&locale_) {}

  void SetUp() override { useFs_ = std::make_unique<Use>(&fs_); }
  void TearDown() override {
    EXPECT_EQ(contents(), before_) << "a file was lost or overwritten";
    useFs_.reset();
  }

  // Adds a file whose content is its path, remembered for TearDown.
  void add(const Text& path) {
    ASSERT_TRUE(fs_.addFile(path, "content of " + path));
    before_ = contents();
  }
  void addFolder(const Text& path) { ASSERT_TRUE(fs_.addFolder(path)); }

  void run(const Text& folder) {
    restoreFolder([folder] { return folder; });
  }

  // The sorted names in folder.
  TextList sortedNamesIn(const Text& folder) const {
    TextList names = fs_.namesIn(folder);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::vector<Text> contents() const {
    std::vector<Text> all;
    for (const auto& [path, content] : fs_.allFiles()) {
      all.push_back(content);
    }
    std::sort(all.begin(), all.end());
    return all;
  }

  using Use = ScopedInstall<FileSystem, installFileSystem>;
  ScopedTimeZone zone_{"Asia/Shanghai"};
  FixedClockLocale locale_;
  ScopedInstall<LocaleServices, installLocaleServices> useLocale_;
  MemoryFileSystem fs_{PathStyle::kWindows};
  std::unique_ptr<Use> useFs_;
  std::vector<Text> before_;
};

INSTANTIATE_TEST_SUITE_P(Clock, RestoreRun, ::testing::Bool(), clockName);

// One file at a time, each in a file system of its own.
TEST_P(RestoreRun, OneFile) {
  struct Case {
    const char* what;
    Text folder;
    Text file;
    Text after;  // the file itself when it keeps its name
  };
  const Case cases[] = {
      {"ten digits count seconds at +8", "D:\\pics",
       "D:\\pics\\mmexport1543717408.jpg",
       "D:\\pics\\mmexport20181202102328.jpg"},
      {"an afternoon is written on a 24-hour clock", "D:\\pics",
       "D:\\pics\\mmexport1543731808.jpg",
       "D:\\pics\\mmexport20181202142328.jpg"},
      {"thirteen digits count milliseconds in local time", "D:\\pics",
       "D:\\pics\\mmexport1543731808000.jpg",
       "D:\\pics\\mmexport20181202142328.jpg"},
      {"the largest ten-digit stamp", "D:\\pics",
       "D:\\pics\\mmexport2147483647.jpg",
       "D:\\pics\\mmexport20380119111407.jpg"},
      {"the stamp ends at the first extension", "D:\\pics",
       "D:\\pics\\mmexport1543717408.jpg.jpg",
       "D:\\pics\\mmexport20181202102328.jpg"},
      {"folder text ending in the separator", "D:\\pics\\",
       "D:\\pics\\mmexport1543717408.jpg",
       "D:\\pics\\mmexport20181202102328.jpg"},
      {"forward slash in the folder text", "D:/pics",
       "D:\\pics\\mmexport1543717408.jpg",
       "D:\\pics\\mmexport20181202102328.jpg"},
      {"letter case of the folder text", "d:\\PICS",
       "D:\\pics\\mmexport1543717408.jpg",
       "D:\\pics\\mmexport20181202102328.jpg"},
      {"root of a drive", "D:", "D:\\mmexport1543717408.jpg",
       "D:\\mmexport20181202102328.jpg"},

      // Names without a usable stamp keep theirs.
      {"no marker", "D:\\pics", "D:\\pics\\IMG_0001.jpg",
       "D:\\pics\\IMG_0001.jpg"},
      {"upper-case marker", "D:\\pics", "D:\\pics\\MMEXPORT1543717408.jpg",
       "D:\\pics\\MMEXPORT1543717408.jpg"},
      {"upper-case extension", "D:\\pics", "D:\\pics\\mmexport1543717408.JPG",
       "D:\\pics\\mmexport1543717408.JPG"},
      {"copy suffix", "D:\\pics", "D:\\pics\\mmexport1543717408 (1).jpg",
       "D:\\pics\\mmexport1543717408 (1).jpg"},
      {"already restored", "D:\\pics", "D:\\pics\\mmexport20181202102328.jpg",
       "D:\\pics\\mmexport20181202102328.jpg"},
      {"ten digits beyond a signed 32-bit count", "D:\\pics",
       "D:\\pics\\mmexport2147483648.jpg", "D:\\pics\\mmexport2147483648.jpg"},
      {"nine digits", "D:\\pics", "D:\\pics\\mmexport154371740.jpg",
       "D:\\pics\\mmexport154371740.jpg"},
      {"twelve digits", "D:\\pics", "D:\\pics\\mmexport154371740800.jpg",
       "D:\\pics\\mmexport154371740800.jpg"},
      {"a letter among ten", "D:\\pics", "D:\\pics\\mmexport15437174O8.jpg",
       "D:\\pics\\mmexport15437174O8.jpg"},
      {"a sign and nine digits", "D:\\pics", "D:\\pics\\mmexport+543717408.jpg",
       "D:\\pics\\mmexport+543717408.jpg"},
      {"empty stamp", "D:\\pics", "D:\\pics\\mmexport.jpg",
       "D:\\pics\\mmexport.jpg"},
      {"folder named like the marker", "D:\\mmexport",
       "D:\\mmexport\\mmexport1543717408.jpg",
       "D:\\mmexport\\mmexport1543717408.jpg"},

      // Targets that the check refuses.
      {"empty folder text", "", "C:\\mmexport1543717408.jpg",
       "C:\\mmexport1543717408.jpg"},
      {"relative folder text", "pics", "C:\\pics\\mmexport1543717408.jpg",
       "C:\\pics\\mmexport1543717408.jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFileSystem fs(PathStyle::kWindows);
    Use use(&fs);
    ASSERT_TRUE(fs.addFile(c.file, "picture"));
    run(c.folder);
    EXPECT_EQ(fs.fileCount(), 1u);
    EXPECT_EQ(fs.contentOf(c.after), "picture");
    EXPECT_EQ(fs.movesMade(), c.after == c.file ? 0 : 1);
  }
}

// The folder listed is D:\pics, but the folder read for the file makes a
// target that the check refuses: the file system is never asked.
TEST_P(RestoreRun, TargetFolderRefused) {
  add("D:\\pics\\mmexport1543717408.jpg");
  addFolder("C:\\pics");
  const Text refused[] = {
      "", "\\", "\\pics", "pics", "\\\\server\\share", "1:\\pics"};
  for (const Text& box : refused) {
    SCOPED_TRACE(box);
    int reads = 0;
    restoreFolder([&] { return ++reads == 1 ? Text("D:\\pics") : box; });
    EXPECT_EQ(reads, 2);
    EXPECT_EQ(fs_.movesMade(), 0);
    EXPECT_TRUE(fs_.exists("D:\\pics\\mmexport1543717408.jpg"));
  }
}

TEST_P(RestoreRun, SameSecondTwiceRenamesTheFirstListed) {
  add("D:\\pics\\mmexport1543717408000.jpg");
  add("D:\\pics\\mmexport1543717408999.jpg");
  add("D:\\pics\\mmexport1543717408.jpg");
  run("D:\\pics");
  EXPECT_EQ(fs_.contentOf("D:\\pics\\mmexport20181202102328.jpg"),
            "content of D:\\pics\\mmexport1543717408000.jpg");
  EXPECT_EQ(sortedNamesIn("D:\\pics"),
            (TextList{"mmexport1543717408.jpg", "mmexport1543717408999.jpg",
                      "mmexport20181202102328.jpg"}));
}

TEST_P(RestoreRun, AFolderOfMixedNames) {
  add("D:\\pics\\IMG_0001.jpg");
  add("D:\\pics\\mmexport1543717408.jpg");
  add("D:\\pics\\MMEXPORT1543717409.jpg");
  add("D:\\pics\\mmexport1543717410.JPG");
  add("D:\\pics\\mmexport1543717411 (1).jpg");
  add("D:\\pics\\mmexport1543717412000.jpg");
  add("D:\\pics\\mmexport20181202102329.jpg");
  add("D:\\pics\\mmexport1543717413.png");
  add("D:\\pics\\old.jpg\\mmexport1543717414.jpg");
  addFolder("D:\\pics\\mmexport1543717415.jpg");
  run("D:\\pics");
  EXPECT_EQ(
      sortedNamesIn("D:\\pics"),
      (TextList{"IMG_0001.jpg", "MMEXPORT1543717409.jpg",
                "mmexport1543717410.JPG", "mmexport1543717411 (1).jpg",
                "mmexport1543717413.png", "mmexport1543717415.jpg",
                "mmexport20181202102328.jpg", "mmexport20181202102329.jpg",
                "mmexport20181202102332.jpg", "old.jpg"}));
  EXPECT_TRUE(fs_.isFolder("D:\\pics\\mmexport1543717415.jpg"));
  EXPECT_TRUE(fs_.exists("D:\\pics\\old.jpg\\mmexport1543717414.jpg"));
  EXPECT_EQ(fs_.movesMade(), 2);
}

TEST_P(RestoreRun, TargetTakenByAFileOrFolder) {
  add("D:\\pics\\mmexport1543717408.jpg");
  add("D:\\pics\\mmexport1543717409.jpg");
  add("D:\\pics\\mmexport1543717410.jpg");
  addFolder("D:\\pics\\mmexport20181202102328.jpg");
  add("D:\\pics\\mmexport20181202102329.jpg");
  run("D:\\pics");
  EXPECT_TRUE(fs_.isFolder("D:\\pics\\mmexport20181202102328.jpg"));
  EXPECT_TRUE(fs_.exists("D:\\pics\\mmexport1543717408.jpg"));
  EXPECT_TRUE(fs_.exists("D:\\pics\\mmexport1543717409.jpg"));
  EXPECT_EQ(fs_.contentOf("D:\\pics\\mmexport20181202102330.jpg"),
            "content of D:\\pics\\mmexport1543717410.jpg");
}

TEST_P(RestoreRun, FailedMoveEndsNothing) {
  add("D:\\pics\\mmexport1543717408.jpg");
  add("D:\\pics\\mmexport1543717409.jpg");
  fs_.setMoveRefusal([](const Text& source, const Text&) {
    return source == "D:\\pics\\mmexport1543717408.jpg";
  });
  run("D:\\pics");
  EXPECT_EQ(sortedNamesIn("D:\\pics"),
            (TextList{"mmexport1543717408.jpg", "mmexport20181202102329.jpg"}));
}

// The source is read once before the listing, then once for each listed
// file (renamed or not) after the listing is complete and before that
// file's target is built: each file goes to the folder read for it.
TEST_P(RestoreRun, FolderSourceReadOncePlusOncePerFile) {
  add("D:\\pics\\mmexport1543717408.jpg");
  add("D:\\pics\\IMG_0001.jpg");
  add("D:\\pics\\mmexport1543717409000.jpg");
  add("D:\\pics\\note.txt");
  addFolder("D:\\x");
  addFolder("D:\\y");
  int listed = 0;
  fs_.setOnListed([&](const FoundEntry&) { ++listed; });

  const TextList answers = {"D:\\pics", "D:\\x", "D:\\pics", "D:\\y"};
  std::vector<std::pair<int, int>> seen;  // entries listed, moves made
  restoreFolder([&]() -> Text {
    seen.emplace_back(listed, fs_.movesMade());
    return seen.size() <= answers.size() ? answers[seen.size() - 1] : "D:\\z";
  });

  EXPECT_EQ(seen,
            (std::vector<std::pair<int, int>>{{0, 0}, {3, 0}, {3, 1}, {3, 1}}));
  EXPECT_EQ(fs_.contentOf("D:\\x\\mmexport20181202102328.jpg"),
            "content of D:\\pics\\mmexport1543717408.jpg");
  EXPECT_EQ(fs_.contentOf("D:\\y\\mmexport20181202102329.jpg"),
            "content of D:\\pics\\mmexport1543717409000.jpg");
  EXPECT_EQ(sortedNamesIn("D:\\pics"), (TextList{"IMG_0001.jpg", "note.txt"}));
}

TEST_P(RestoreRun, FolderWithoutPicturesReadsTheSourceOnce) {
  add("D:\\pics\\note.txt");
  addFolder("D:\\pics\\old.jpg");
  int reads = 0;
  int pumps = 0;
  ScopedPump pump([&] { ++pumps; });
  restoreFolder([&] {
    ++reads;
    return Text("D:\\pics");
  });
  restoreFolder([&] {
    ++reads;
    return Text("D:\\missing");
  });
  EXPECT_EQ(reads, 2);
  EXPECT_EQ(pumps, 0);
}

// The list is a snapshot: no move is tried before the last entry is listed,
// a file added afterwards keeps its name, and a listed file gone by its turn
// is passed over.
TEST_P(RestoreRun, ListIsASnapshot) {
  add("D:\\pics\\mmexport1543717408.jpg");
  add("D:\\pics\\mmexport1543717409.jpg");
  add("D:\\pics\\mmexport1543717410.jpg");
  addFolder("D:\\elsewhere");
  int listed = 0;
  fs_.setOnListed([&](const FoundEntry&) { ++listed; });
  std::vector<int> listedAtMove;
  fs_.setMoveRefusal([&](const Text&, const Text&) {
    listedAtMove.push_back(listed);
    return false;
  });
  int pumpsWithMoves = 0;
  ScopedPump pump([&] { pumpsWithMoves += fs_.movesMade(); });

  // The late file is part of what must remain.
  before_.push_back("late");
  std::sort(before_.begin(), before_.end());

  int reads = 0;
  restoreFolder([&] {
    if (++reads == 2) {
      // While the first file is in hand: one file comes, one goes.
      EXPECT_TRUE(fs_.addFile("D:\\pics\\mmexport1543717411.jpg", "late"));
      EXPECT_TRUE(fs_.moveFile("D:\\pics\\mmexport1543717409.jpg",
                               "D:\\elsewhere\\mmexport1543717409.jpg"));
    }
    return Text("D:\\pics");
  });

  EXPECT_EQ(reads, 4);
  EXPECT_EQ(pumpsWithMoves, 0);
  for (const int n : listedAtMove) EXPECT_EQ(n, 3);
  EXPECT_EQ(sortedNamesIn("D:\\pics"),
            (TextList{"mmexport1543717411.jpg", "mmexport20181202102328.jpg",
                      "mmexport20181202102330.jpg"}));
  EXPECT_TRUE(fs_.exists("D:\\elsewhere\\mmexport1543717409.jpg"));
}

// The path box changed while the folder was being listed: every file moves
// into the folder it names now; files that keep their names stay.
TEST_P(RestoreRun, FolderChangedDuringTheListing) {
  add("D:\\pics\\mmexport1543717408.jpg");
  add("D:\\pics\\IMG_0001.jpg");
  add("D:\\pics\\mmexport1543717409000.jpg");
  addFolder("D:\\other");
  Text box = "D:\\pics";
  ScopedPump pump([&] { box = "D:\\other"; });
  restoreFolder([&] { return box; });
  EXPECT_EQ(sortedNamesIn("D:\\pics"), (TextList{"IMG_0001.jpg"}));
  EXPECT_EQ(
      sortedNamesIn("D:\\other"),
      (TextList{"mmexport20181202102328.jpg", "mmexport20181202102329.jpg"}));
}

TEST_P(RestoreRun, FolderChangedToOneThatDoesNotExist) {
  add("D:\\pics\\mmexport1543717408.jpg");
  add("D:\\pics\\mmexport1543717409.jpg");
  Text box = "D:\\pics";
  fs_.setOnListed([&](const FoundEntry&) { box = "D:\\gone"; });
  restoreFolder([&] { return box; });
  EXPECT_EQ(sortedNamesIn("D:\\pics"),
            (TextList{"mmexport1543717408.jpg", "mmexport1543717409.jpg"}));
  EXPECT_EQ(fs_.movesMade(), 0);
}

// A second click handled inside the listing runs a whole restore there; the
// outer run then finds its files gone or restored and loses nothing.
TEST_P(RestoreRun, NestedRunFromThePump) {
  add("D:\\pics\\mmexport1543717408.jpg");
  add("D:\\pics\\mmexport1543717409.jpg");
  add("D:\\pics\\IMG_0001.jpg");
  bool clicked = false;
  ScopedPump pump([&] {
    if (!clicked) {
      clicked = true;
      run("D:\\pics");
    }
  });
  run("D:\\pics");
  EXPECT_EQ(sortedNamesIn("D:\\pics"),
            (TextList{"IMG_0001.jpg", "mmexport20181202102328.jpg",
                      "mmexport20181202102329.jpg"}));
}

TEST_P(RestoreRun, NameStampFor) {
  const std::pair<Text, Text> cases[] = {
      {"1543717408", "20181202102328"},
      {"1543731808", "20181202142328"},
      {"1543717408000", "20181202102328"},
      {"1543717408999", "20181202102328"},
      {"1543731808000", "20181202142328"},
      {"2147483647", "20380119111407"},
      {"0000000000", "19700101080000"},
      {"0000000000000", "19700101080000"},
      {"9999999999999", "22861121014639"},

      {"", ""},
      {"2147483648", ""},
      {"9999999999", ""},
      {"154371740", ""},
      {"15437174080", ""},
      {"154371740800", ""},
      {"15437174080000", ""},
      {"20181202102328", ""},
      {"1543717408 (1)", ""},
      {"15437174O8", ""},
      {"+543717408", ""},
      {"-543717408", ""},
      {" 543717408", ""},
      {"1543717408\n", ""},
      {"\\mmexport1543717408", ""},
      // Full-width digits, which textToInt would read.
      {"\xA3\xB1\xA3\xB5\xA3\xB4\xA3\xB3\xA3\xB7", ""},
  };
  for (const auto& [stamp, expected] : cases) {
    SCOPED_TRACE(stamp);
    EXPECT_EQ(nameStampFor(stamp), expected);
  }
}

// Without a script host thirteen digits cannot be converted: the file keeps
// its name rather than take the name of a failed date. Ten digits need no
// host.
TEST_P(RestoreRun, WithoutAScriptHost) {
  NoScriptHost none;
  ScopedInstall<ScriptRuntime, installScriptRuntime> use(&none);
  EXPECT_EQ(nameStampFor("1543717408000"), "");
  EXPECT_EQ(nameStampFor("1543717408"), "20181202102328");

  add("D:\\pics\\mmexport1543717409000.jpg");
  add("D:\\pics\\mmexport1543717408.jpg");
  run("D:\\pics");
  EXPECT_EQ(
      sortedNamesIn("D:\\pics"),
      (TextList{"mmexport1543717409000.jpg", "mmexport20181202102328.jpg"}));
}

// Ten digits are read at +8 whatever the machine's zone; thirteen in the
// machine's own.
TEST_P(RestoreRun, NameStampForInAnotherTimeZone) {
  ScopedTimeZone utc("UTC");
  EXPECT_EQ(nameStampFor("1543717408"), "20181202102328");
  EXPECT_EQ(nameStampFor("1543717408000"), "20181202022328");
  EXPECT_EQ(nameStampFor("1543731808000"), "20181202062328");
}

}  // namespace
}  // namespace velkaro
