// The restore run over random folders in the in-memory file system: names
// of valid and broken stamps of both lengths, seconds that collide, other
// names, sub-folders and upper-case extensions; moves that are made to
// fail; a folder source that changes at random between folders; both path
// styles. After every run no file is lost, duplicated or replaced, and every
// file that was renamed got the name its stamp gives, in the folder the
// source named at that moment.
//
// The runs are seeded (kSeed): a failure names the seed and the folder's
// number, and the same build repeats it.

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/fixed_clock_locale.h"
#include "platform/locale_services.h"
#include "platform/memory_file_system.h"
#include "platform/path_style.h"
#include "platform/scoped_install.h"
#include "platform/scoped_time_zone.h"
#include "restore/marker.h"
#include "restore/restore_run.h"
#include "values/text.h"

namespace velkaro {
namespace {

constexpr uint64_t kSeed = 0x7E1CA50F2018ULL;
constexpr int kFoldersPerZone = 1500;

// ---------------------------------------------------------------------------
// The name a stamp must give, worked out here from the calendar and the C
// library's local time rather than through the conversions.

bool allDigits(const Text& t) {
  for (const char c : t) {
    if (c < '0' || c > '9') {
      return false;
    }
  }
  return !t.empty();
}

Text fourteenDigits(int64_t year, int month, int day, int hour, int minute,
                    int second) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld%02d%02d%02d%02d%02d",
                static_cast<long long>(year), month, day, hour, minute, second);
  return text;
}

// The UTC calendar fields of a count of seconds since 1970-01-01.
Text utcStamp(int64_t seconds) {
  const int64_t days = seconds / 86400;  // seconds >= 0 here
  const int64_t secondOfDay = seconds % 86400;
  const int64_t z = days + 719468;
  const int64_t era = z / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear =
      dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  return fourteenDigits(year, month, day, static_cast<int>(secondOfDay / 3600),
                        static_cast<int>(secondOfDay / 60 % 60),
                        static_cast<int>(secondOfDay % 60));
}

// Ten digits up to 2147483647 count seconds, written at +8 hours; thirteen
// count milliseconds, written in the machine's time zone; nothing else
// gives a name.
Text expectedNameStamp(const Text& stamp) {
  constexpr int64_t kEightHours = 28800;  // seconds
  if (!allDigits(stamp)) {
    return Text();
  }
  if (stamp.size() == 10) {
    const int64_t seconds = std::stoll(stamp);
    return seconds <= 2147483647 ? utcStamp(seconds + kEightHours) : Text();
  }
  if (stamp.size() == 13) {
    const std::time_t seconds =
        static_cast<std::time_t>(std::stoll(stamp) / 1000);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
      return Text();
    }
    return fourteenDigits(local.tm_year + 1900LL, local.tm_mon + 1,
                          local.tm_mday, local.tm_hour, local.tm_min,
                          local.tm_sec);
  }
  return Text();
}

// ---------------------------------------------------------------------------
// The file system as the run sees it, with every move it asks for recorded
// together with the folder text that the source gave last.

struct MoveCall {
  Text source;
  Text target;
  Text folder;  // what the folder source returned last before the move
  bool moved;
};

class RecordingFileSystem : public FileSystem {
 public:
  RecordingFileSystem(MemoryFileSystem& fs, const Text& lastFolder)
      : fs_(fs), lastFolder_(lastFolder) {}

  const std::vector<MoveCall>& calls() const { return calls_; }

  PathStyle pathStyle() const override { return fs_.pathStyle(); }
  std::unique_ptr<DirectorySearch> findFiles(const Text& searchText) override {
    return fs_.findFiles(searchText);
  }
  bool moveFile(const Text& source, const Text& target) override {
    const bool moved = fs_.moveFile(source, target);
    calls_.push_back({source, target, lastFolder_, moved});
    return moved;
  }
  int fileNameStart(const Text& path) override {
    return fs_.fileNameStart(path);
  }

 private:
  MemoryFileSystem& fs_;
  const Text& lastFolder_;
  std::vector<MoveCall> calls_;
};

// ---------------------------------------------------------------------------
// Random folders.

class Random {
 public:
  explicit Random(uint64_t seed) : engine_(seed) {}
  // 0 to n - 1. (The engine's output is the same everywhere; the standard
  // distributions are not.)
  uint64_t below(uint64_t n) { return engine_() % n; }
  bool chance(int inN) { return below(static_cast<uint64_t>(inN)) == 0; }
  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[below(items.size())];
  }

 private:
  std::mt19937_64 engine_;
};

Text digits(uint64_t value, int width) {
  Text t = std::to_string(value);
  while (static_cast<int>(t.size()) < width) {
    t.insert(t.begin(), '0');
  }
  return t;
}

// One folder of the test: its path and the ways a folder text may spell it.
struct Folder {
  Text path;
  std::vector<Text> spellings;
};

std::vector<Folder> foldersFor(PathStyle style) {
  if (style == PathStyle::kWindows) {
    return {
        {"D:\\pics", {"D:\\pics", "D:\\pics\\", "d:\\PICS", "D:/pics"}},
        {"D:\\pics\\old.jpg", {"D:\\pics\\old.jpg", "D:/pics/OLD.JPG"}},
        {"D:\\other", {"D:\\other", "D:\\other\\"}},
        {"E:\\x\\y", {"E:\\x\\y", "e:/x/y"}},
        // Every path in it holds the marker in its folder part.
        {"D:\\mmexport2018", {"D:\\mmexport2018"}},
    };
  }
  return {
      {"/pics", {"/pics", "/pics/", "//pics"}},
      {"/pics/old.jpg", {"/pics/old.jpg"}},
      {"/other", {"/other", "/other/"}},
      {"/x/y", {"/x/y"}},
      {"/mmexport", {"/mmexport"}},
  };
}

// A folder that does not exist, spelt in the style.
Text missingFolder(PathStyle style) {
  return style == PathStyle::kWindows ? "D:\\gone" : "/gone";
}

// Seconds whose names collide: two stamps of one second, and (in a zone
// that falls back an hour) two instants an hour apart that read alike.
const std::vector<uint64_t> kCollidingSeconds = {1543717408, 1667710800,
                                                 1667714400, 2147483647, 0};

class NameMaker {
 public:
  NameMaker(Random& random, PathStyle style) : random_(random), style_(style) {
    pool_ = {random_.pick(kCollidingSeconds), random_.pick(kCollidingSeconds),
             random_.below(2147483648ULL)};
  }

  Text stamp() {
    switch (random_.below(8)) {
      case 0:
        return digits(random_.below(2147483648ULL), 10);
      case 1:  // ten digits above the largest count
        return digits(2147483648ULL + random_.below(7852516352ULL), 10);
      case 2:
        return digits(random_.below(10000000000000ULL), 13);
      case 3: {  // a second of the pool, as seconds or as milliseconds
        const uint64_t second = random_.pick(pool_);
        return random_.chance(2)
                   ? digits(second, 10)
                   : digits(second * 1000 + random_.below(1000), 13);
      }
      case 4:
        return broken(digits(random_.below(2147483648ULL), 10));
      case 5:
        return broken(digits(random_.below(10000000000000ULL), 13));
      case 6:  // already restored: the fourteen digits of a name written
        return expectedNameStamp(digits(random_.pick(pool_), 10));
      default:
        return digits(random_.below(1000000), 1 + random_.below(16));
    }
  }

  Text name() {
    if (random_.chance(6)) {
      static const std::vector<Text> kOthers = {
          "IMG_0001.jpg",
          "mmexport.jpg",
          "mmexport1543717408 (1).jpg",
          "mmexport1543717408.jpg.jpg",
          "mmexport1543717408000.jpeg",
          "a.png",
          ".jpg",
          "\xD5\xD5\xC6\xAC.jpg",
          "\xE9mmexport1543717408.jpg",
          "\xD5\xD5mmexport1543717408.jpg",
          "mmexport15437\xD5\xD5\x31\x37\x34\x30\x38.jpg",  // 17408
      };
      return random_.pick(kOthers);
    }
    Text prefix = "mmexport";
    if (random_.chance(12)) {
      prefix = random_.chance(2) ? "MMEXPORT" : "MMexport";
    }
    Text extension = ".jpg";
    if (random_.chance(6)) {
      extension = random_.chance(2) ? ".JPG" : ".Jpg";
    } else if (random_.chance(12)) {
      extension = ".jpg.jpg";
    }
    return prefix + stamp() + extension;
  }

 private:
  // A stamp with one byte made something other than a digit.
  Text broken(const Text& stamp) {
    std::vector<Text> bytes = {"a", " ", "+", "-", ".", "'", "\xA3\xB1"};
    if (style_ == PathStyle::kPosix) {
      bytes.push_back("\\");
      bytes.push_back(":");
    }
    const std::size_t at = random_.below(stamp.size());
    return stamp.substr(0, at) + random_.pick(bytes) + stamp.substr(at + 1);
  }

  Random& random_;
  PathStyle style_;
  std::vector<uint64_t> pool_;
};

bool matchesJpgPattern(const Text& name) {
  return name.size() >= 4 &&
         toUpperText(name.substr(name.size() - 4)) == ".JPG";
}

// ---------------------------------------------------------------------------

// The machine's time zone for a run of folders, and the run's seed.
struct Zone {
  const char* name;
  uint64_t seed;
};

void PrintTo(const Zone& zone, std::ostream* out) {
  *out << zone.name << ", seed " << zone.seed;
}

class RestorePropertyTest : public testing::TestWithParam<Zone> {};

struct OriginalFile {
  Text path;    // as it was made
  Text folder;  // the path of its folder
  Text name;
  Text content;  // different for every file
};

// What became of the files of the runs with a usable stamp: a run of
// folders in which one of these never happened would prove little.
struct Outcomes {
  int renamed = 0;
  int renamedElsewhere = 0;  // by a folder text other than the one listed
  int refused = 0;
  int targetTaken = 0;  // the move failed, not refused
};

// One folder's run; adds a failure naming the folder when a property fails.
void runOneFolder(Random& random, uint64_t seed, int number,
                  Outcomes& outcomes) {
  const PathStyle style =
      random.chance(2) ? PathStyle::kWindows : PathStyle::kPosix;
  const Text& separator = separatorOf(style);
  MemoryFileSystem fs(style);
  FixedClockLocale locale(random.chance(2));
  ScopedInstall<LocaleServices, installLocaleServices> useLocale(&locale);

  const std::vector<Folder> folders = foldersFor(style);
  std::vector<OriginalFile> originals;
  NameMaker names(random, style);
  int made = 0;
  for (const Folder& folder : folders) {
    fs.addFolder(folder.path);
  }
  for (const Folder& folder : folders) {
    const int files =
        static_cast<int>(random.below(folder.path == folders[0].path ? 20 : 5));
    for (int i = 0; i < files; ++i) {
      const Text name = names.name();
      const Text path = folder.path + separator + name;
      const Text content = "picture " + std::to_string(made++);
      if (fs.addFile(path, content)) {
        originals.push_back({path, folder.path, name, content});
      }
    }
    // A sub-folder named like a picture, or like a name the run writes.
    if (random.chance(3)) {
      const Text sub =
          random.chance(2)
              ? "mmexport" + names.stamp() + ".jpg"
              : "mmexport" + expectedNameStamp(digits(1543717408, 10)) + ".jpg";
      if (fs.addFolder(folder.path + separator + sub) && random.chance(2)) {
        const Text path = folder.path + separator + sub + separator +
                          "mmexport1543717408.jpg";
        const Text content = "picture " + std::to_string(made++);
        if (fs.addFile(path, content)) {
          originals.push_back({path, folder.path + separator + sub,
                               "mmexport1543717408.jpg", content});
        }
      }
    }
  }

  // The folder listed, and what the source gives afterwards.
  const Folder& listed = random.chance(8) ? random.pick(folders) : folders[0];
  Text listedText = random.pick(listed.spellings);
  const bool listMissing = random.chance(40);
  if (listMissing) {
    listedText = missingFolder(style);
  }
  const bool fixedSource = random.chance(2);
  std::vector<Text> choices;
  for (const Folder& folder : folders) {
    for (const Text& spelling : folder.spellings) {
      choices.push_back(spelling);
    }
  }
  choices.push_back(missingFolder(style));

  // Which listed files the file system refuses to move.
  std::set<Text> refusedSources;
  const Text prefix =
      listedText + (rightText(listedText, 1) == separator ? "" : separator);
  for (const OriginalFile& file : originals) {
    if (random.chance(4)) {
      refusedSources.insert(prefix + file.name);
    }
  }
  fs.setMoveRefusal([&refusedSources](const Text& source, const Text&) {
    return refusedSources.count(source) != 0;
  });

  Text lastFolder;
  std::vector<Text> given;
  RecordingFileSystem recording(fs, lastFolder);
  {
    ScopedInstall<FileSystem, installFileSystem> useFs(&recording);
    restoreFolder([&]() {
      lastFolder =
          given.empty() || fixedSource ? listedText : random.pick(choices);
      given.push_back(lastFolder);
      return lastFolder;
    });
  }

  // ---- The properties.
  std::vector<std::string> problems;
  const auto problem = [&problems](const std::string& what) {
    problems.push_back(what);
  };

  if (fs.fileCount() != originals.size()) {
    problem("the file count went from " + std::to_string(originals.size()) +
            " to " + std::to_string(fs.fileCount()));
  }
  std::map<Text, int> copies;
  for (const auto& [path, content] : fs.allFiles()) {
    ++copies[content];
  }

  // The files the run must take, in listing order (the order in which they
  // were made), and the name stamp of every listed file.
  std::vector<const OriginalFile*> expectedSources;
  if (!listMissing) {
    for (const OriginalFile& file : originals) {
      if (file.folder != listed.path || !matchesJpgPattern(file.name)) {
        continue;
      }
      const Text stamp = textBetween(prefix + file.name, "mmexport", ".jpg");
      const Text expected = expectedNameStamp(stamp);
      if (nameStampFor(stamp) != expected) {
        problem("nameStampFor(" + stamp + ") == " + nameStampFor(stamp) +
                ", not " + expected);
      }
      if (!expected.empty()) {
        expectedSources.push_back(&file);
      }
    }
  }

  const std::vector<MoveCall>& calls = recording.calls();
  std::map<Text, const MoveCall*> callBySource;
  for (const MoveCall& call : calls) {
    if (!callBySource.emplace(call.source, &call).second) {
      problem("two moves of " + call.source);
    }
  }
  if (calls.size() != expectedSources.size()) {
    problem(std::to_string(calls.size()) + " moves for " +
            std::to_string(expectedSources.size()) + " files with a stamp");
  }
  for (std::size_t i = 0; i < calls.size() && i < expectedSources.size(); ++i) {
    if (calls[i].source != prefix + expectedSources[i]->name) {
      problem("move " + std::to_string(i + 1) + " is of " + calls[i].source +
              ", not of " + prefix + expectedSources[i]->name);
    }
  }

  for (const OriginalFile& file : originals) {
    const int count = copies.count(file.content) ? copies[file.content] : 0;
    if (count != 1) {
      problem(file.path + " is under " + std::to_string(count) + " names");
      continue;
    }
    const Text source = prefix + file.name;
    const auto found = file.folder == listed.path && !listMissing
                           ? callBySource.find(source)
                           : callBySource.end();
    const MoveCall* call =
        found == callBySource.end() ? nullptr : found->second;
    if (call == nullptr || !call->moved) {
      if (fs.contentOf(file.path) != file.content) {
        problem(file.path + " was moved without a move that succeeded");
      }
    }
    if (call == nullptr) {
      continue;
    }
    const Text stamp = textBetween(source, "mmexport", ".jpg");
    const Text expectedTarget = call->folder + separator + "mmexport" +
                                expectedNameStamp(stamp) + ".jpg";
    if (call->target != expectedTarget) {
      problem(source + " was moved to " + call->target + ", not to " +
              expectedTarget);
    }
    if (!call->moved) {
      ++(refusedSources.count(source) != 0 ? outcomes.refused
                                           : outcomes.targetTaken);
    } else {
      ++(call->folder == listedText ? outcomes.renamed
                                    : outcomes.renamedElsewhere);
      if (refusedSources.count(source) != 0) {
        problem("a refused move of " + source + " succeeded");
      }
      if (fs.contentOf(call->target) != file.content) {
        problem(source + " is not at " + call->target);
      }
    }
  }

  if (!problems.empty()) {
    std::ostringstream report;
    report << "seed " << seed << ", folder " << number << ", "
           << (style == PathStyle::kWindows ? "Windows" : "POSIX")
           << " paths, listed " << listedText << "\n";
    for (const std::string& p : problems) {
      report << "  " << p << "\n";
    }
    report << "files before:\n";
    for (const OriginalFile& file : originals) {
      report << "  " << file.path
             << (refusedSources.count(prefix + file.name) ? "  (refused)" : "")
             << "\n";
    }
    report << "folder texts given:";
    for (const Text& t : given) {
      report << " [" << t << "]";
    }
    report << "\nmoves:\n";
    for (const MoveCall& call : calls) {
      report << "  " << call.source << " -> " << call.target
             << (call.moved ? "" : "  (failed)") << "\n";
    }
    report << "files after:\n";
    for (const auto& [path, content] : fs.allFiles()) {
      report << "  " << path << "  (" << content << ")\n";
    }
    ADD_FAILURE() << report.str();
  }
}

TEST_P(RestorePropertyTest, NoFileIsLostAndEachRenameIsRight) {
  ScopedTimeZone zone(GetParam().name);
  Random random(GetParam().seed);
  Outcomes outcomes;
  for (int number = 1; number <= kFoldersPerZone; ++number) {
    runOneFolder(random, GetParam().seed, number, outcomes);
    if (HasFailure()) {
      return;  // one folder's report is enough to go on
    }
  }
  EXPECT_GT(outcomes.renamed, 0);
  EXPECT_GT(outcomes.renamedElsewhere, 0);
  EXPECT_GT(outcomes.refused, 0);
  EXPECT_GT(outcomes.targetTaken, 0);
}

// China's zone, where the two routes agree, and one that falls back an
// hour in autumn.
INSTANTIATE_TEST_SUITE_P(Zones, RestorePropertyTest,
                         testing::Values(Zone{"Asia/Shanghai", kSeed},
                                         Zone{"America/New_York", kSeed + 1}),
                         [](const testing::TestParamInfo<Zone>& info) {
                           return info.index == 0 ? "Shanghai" : "NewYork";
                         });

}  // namespace
}  // namespace velkaro
