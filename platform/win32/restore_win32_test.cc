// Whole restore runs over real folders, with the platform's own file
// system, locale and script control, in the time zone that the run chose
// (see test_environment.h).

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/temp_folder.h"
#include "platform/win32/test_environment.h"
#include "restore/restore_run.h"

namespace velkaro {
namespace {

// The new name of mmexport1543731808000.jpg in each zone the runs use.
struct Zone {
  const char* tz;
  const char* restoredName;
};
constexpr Zone kZones[] = {
    {"Asia/Shanghai", "mmexport20181202142328.jpg"},
    {"UTC", "mmexport20181202062328.jpg"},
};

const Zone* zoneOfRun() {
  const Text tz = environmentText("TZ");
  for (const Zone& zone : kZones) {
    if (tz == zone.tz) return &zone;
  }
  return nullptr;
}

TextList sorted(TextList names) {
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Win32Restore, RenamesThePicturesOfAFolder) {
  const Zone* zone = zoneOfRun();
  if (zone == nullptr) {
    GTEST_SKIP() << "no known names for TZ '" << environmentText("TZ") << "'";
  }
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  // Pictures with a usable stamp.
  ASSERT_TRUE(folder.addFile("mmexport1543717408.jpg", "seconds"));
  ASSERT_TRUE(folder.addFile("mmexport1543731808000.jpg", "milliseconds"));
  ASSERT_TRUE(folder.addFile("mmexport1543720000.jpg.jpg", "doubled"));
  // Names that keep their name.
  const TextList kept = {"IMG_0001.jpg",
                         "MMEXPORT1543717407.jpg",
                         "mmexport1543717409.JPG",
                         "mmexport1543717408 (1).jpg",
                         "mmexport20170101000000.jpg",
                         "mmexport.jpg",
                         "notes.txt"};
  for (const Text& name : kept) ASSERT_TRUE(folder.addFile(name)) << name;
  // A sub-folder is neither listed nor entered.
  ASSERT_TRUE(folder.addFolder("old.jpg"));
  ASSERT_TRUE(folder.addFile("old.jpg\\mmexport1543717408.jpg"));

  restoreFolder([&folder] { return folder.path(); });

  TextList expected = kept;
  expected.push_back("mmexport20181202102328.jpg");
  expected.push_back("mmexport20181202110640.jpg");
  expected.push_back(zone->restoredName);
  expected.push_back("old.jpg\\");
  EXPECT_EQ(folder.namesIn(""), sorted(expected));
  EXPECT_EQ(folder.contentOf("mmexport20181202102328.jpg"), "seconds");
  EXPECT_EQ(folder.contentOf(zone->restoredName), "milliseconds");
  EXPECT_EQ(folder.contentOf("mmexport20181202110640.jpg"), "doubled");
  EXPECT_EQ(folder.namesIn("old.jpg"), (TextList{"mmexport1543717408.jpg"}));

  // A second run finds nothing more to do.
  restoreFolder([&folder] { return folder.path(); });
  EXPECT_EQ(folder.namesIn(""), sorted(expected));
}

// Of two pictures of the same second the first listed is renamed; the
// other keeps its name and nothing is overwritten.
TEST(Win32Restore, PicturesOfOneSecondNeverOverwriteEachOther) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  ASSERT_TRUE(folder.addFile("mmexport1543717408000.jpg", "first"));
  ASSERT_TRUE(folder.addFile("mmexport1543717408999.jpg", "second"));

  restoreFolder([&folder] { return folder.path() + "\\"; });

  const TextList names = folder.namesIn("");
  ASSERT_EQ(names.size(), 2u);
  const Text restored = names[1];  // "mmexport2018..." after "mmexport1543..."
  EXPECT_EQ(restored.size(), 26u) << restored;
  const Text left = names[0];
  EXPECT_TRUE(left == "mmexport1543717408000.jpg" ||
              left == "mmexport1543717408999.jpg")
      << left;
  const Text contents[] = {folder.contentOf(left), folder.contentOf(restored)};
  EXPECT_TRUE((contents[0] == "first" && contents[1] == "second") ||
              (contents[0] == "second" && contents[1] == "first"));
}

// The folder's name is ANSI text like every other: two GBK characters, on
// a machine whose code page is GBK.
TEST(Win32Restore, RenamesInAFolderWithATwoByteName) {
  if (GetACP() != 936) {
    GTEST_SKIP() << "the ANSI code page " << GetACP() << " is not GBK";
  }
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const Text photos = "\xD5\xD5\xC6\xAC";
  ASSERT_TRUE(folder.addFolder(photos));
  ASSERT_TRUE(folder.addFile(photos + "\\mmexport1543717408.jpg"));

  restoreFolder([&] { return folder.at(photos); });

  EXPECT_EQ(folder.namesIn(photos), (TextList{"mmexport20181202102328.jpg"}));
}

// The path box may name another folder by the time of each rename: the
// files then move there.
TEST(Win32Restore, MovesFilesToTheFolderNamedAtRenameTime) {
  TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  ASSERT_TRUE(folder.addFolder("from"));
  ASSERT_TRUE(folder.addFolder("to"));
  ASSERT_TRUE(folder.addFile("from\\mmexport1543717408.jpg"));
  int calls = 0;
  restoreFolder([&] { return folder.at(calls++ == 0 ? "from" : "to"); });
  EXPECT_EQ(folder.namesIn("from"), TextList{});
  EXPECT_EQ(folder.namesIn("to"), (TextList{"mmexport20181202102328.jpg"}));
}

}  // namespace
}  // namespace velkaro
