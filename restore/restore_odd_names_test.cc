// The restore run over odd names on the host's own file system: names that
// are not valid UTF-8, that hold a newline, a quote or a backslash, that
// are 255 bytes long, that begin with a dash or a dot, and targets whose
// full path passes the system's path length limit. Each name is listed,
// converted, and renamed or left as it is; no file is ever lost.

#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/file_system.h"
#include "platform/scoped_time_zone.h"
#include "restore/listing.h"
#include "restore/restore_run.h"

namespace velkaro {
namespace {

namespace stdfs = std::filesystem;

// One odd name: what it is, and the name it must have after the run ("" to
// keep its own). A 10-digit stamp counts seconds at +8 hours, a 13-digit one
// milliseconds at the test's UTC+8.
struct OddName {
  const char* what;
  std::string name;
  std::string after;
};

const std::vector<OddName>& oddNames() {
  static const std::vector<OddName> kNames = {
      // Not UTF-8. Under the two-byte character rule 0xFF 0xFE is one
      // character and the marker after it is found; a lone 0xFF takes the
      // marker's first byte, and 0xC0 the extension's dot.
      {"two bytes not UTF-8 before the marker",
       "\xFF\xFEmmexport1543717408.jpg", "mmexport20181202102328.jpg"},
      {"one byte not UTF-8 before the marker", "\xFFmmexport1543717409.jpg",
       ""},
      {"a byte not UTF-8 before the extension", "mmexport1543717410\xC0.jpg",
       ""},
      {"a line separator before the marker",
       "\xE2\x80\xA8mmexport1543717411000.jpg", ""},
      // Line breaks and quotes, inside the stamp (never placed in a
      // script) and outside it.
      {"a newline in the stamp", "mmexport1543717412\n.jpg", ""},
      {"a newline in a millisecond stamp", "mmexport154371741\n000.jpg", ""},
      {"a newline before the marker", "\nmmexport1543717413.jpg",
       "mmexport20181202102333.jpg"},
      {"a newline in a name without a stamp", "line\nbreak.jpg", ""},
      {"a quote in the stamp", "mmexport15437'17414.jpg", ""},
      {"a quote in a millisecond stamp", "mmexport1543717415'00.jpg", ""},
      {"a quote before the marker", "it's mmexport1543717416000.jpg",
       "mmexport20181202102336.jpg"},
      {"double quotes before the marker", "\"q\" mmexport1543717417.jpg",
       "mmexport20181202102337.jpg"},
      // A backslash is an ordinary byte of a POSIX name.
      {"a backslash in the stamp", "mmexport154371741\\8.jpg", ""},
      {"a backslash before the marker", "a\\mmexport1543717419.jpg",
       "mmexport20181202102339.jpg"},
      // As long as a name may be.
      {"255 bytes with a stamp",
       std::string(233, 'x') + "mmexport1543717420.jpg",
       "mmexport20181202102340.jpg"},
      {"255 bytes without a stamp", std::string(251, 'y') + ".jpg", ""},
      // Names a shell would take for an option or hide.
      {"a dash first", "-mmexport1543717421.jpg", "mmexport20181202102341.jpg"},
      {"two dashes first", "--version.jpg", ""},
      {"a dot first", ".mmexport1543717422.jpg", "mmexport20181202102342.jpg"},
      {"the extension alone", ".jpg", ""},
      {"two dots", "..jpg", ""},
  };
  return kNames;
}

// Whether anything stands at path; false also for a path too long to name
// anything.
bool present(const stdfs::path& path) {
  std::error_code error;
  return stdfs::exists(stdfs::symlink_status(path, error));
}

std::optional<std::string> readFile(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  return std::string(std::istreambuf_iterator<char>(in),
                     std::istreambuf_iterator<char>());
}

class OddNamesOnDisk : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(fileSystem().pathStyle(), PathStyle::kPosix);
    std::string pattern =
        (stdfs::temp_directory_path() / "velkaro-odd-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }

  void TearDown() override {
    std::error_code ignored;
    stdfs::remove_all(root_, ignored);
  }

  // A file whose content is unique to it; its path is remembered.
  void makeFile(const stdfs::path& path) {
    const std::string content = "picture " + std::to_string(made_.size());
    std::ofstream out(path, std::ios::binary);
    out << content;
    out.close();
    ASSERT_TRUE(out) << path;
    made_[content] = path;
  }

  // Every file under the root: its content and where it is now.
  std::map<std::string, std::vector<stdfs::path>> filesNow() const {
    std::map<std::string, std::vector<stdfs::path>> now;
    for (const auto& entry : stdfs::recursive_directory_iterator(root_)) {
      if (entry.is_regular_file()) {
        now[readFile(entry.path()).value_or("<unreadable>")].push_back(
            entry.path());
      }
    }
    return now;
  }

  // No file lost, none duplicated or replaced: each content once.
  void expectEveryFileOnce() const {
    const auto now = filesNow();
    std::size_t count = 0;
    for (const auto& [content, paths] : now) {
      count += paths.size();
    }
    EXPECT_EQ(count, made_.size());
    for (const auto& [content, path] : made_) {
      const auto found = now.find(content);
      EXPECT_TRUE(found != now.end() && found->second.size() == 1)
          << path << " is not under exactly one name";
    }
  }

  // A folder under the root whose own path is exactly length bytes long,
  // made of components of at most 200 bytes.
  stdfs::path folderOfLength(std::size_t length) {
    std::string path = root_.string();
    EXPECT_LT(path.size() + 2, length) << "the temporary folder is too deep";
    char letter = 'a';
    while (path.size() < length) {
      const std::size_t room = length - path.size() - 1;  // after the "/"
      // Never leave less than two bytes for the next component.
      std::size_t part = std::min<std::size_t>(200, room);
      if (room > part && room - part < 2) {
        part -= 2;
      }
      path += "/" + std::string(part, letter++);
      std::error_code error;
      stdfs::create_directory(path, error);
      EXPECT_FALSE(error) << error.message();
    }
    return path;
  }

  ScopedTimeZone zone_{"Asia/Shanghai"};
  stdfs::path root_;
  std::map<std::string, stdfs::path> made_;  // content -> path made
};

TEST_F(OddNamesOnDisk, EachNameIsListedAndRenamedOrKept) {
  const stdfs::path pics = root_ / "pics";
  stdfs::create_directory(pics);
  for (const OddName& odd : oddNames()) {
    makeFile(pics / odd.name);
  }

  TextList listed;
  listFiles(pics.string(), "*.jpg", listed, false);
  std::sort(listed.begin(), listed.end());
  TextList expected;
  for (const OddName& odd : oddNames()) {
    expected.push_back(odd.name);
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listed, expected) << "every odd name is listed as it stands";

  restoreFolder([&pics] { return pics.string(); });

  for (const OddName& odd : oddNames()) {
    SCOPED_TRACE(odd.what);
    const std::string content =
        "picture " + std::to_string(&odd - &oddNames()[0]);
    if (odd.after.empty()) {
      EXPECT_EQ(readFile(pics / odd.name), content) << "kept its name";
    } else {
      EXPECT_FALSE(present(pics / odd.name));
      EXPECT_EQ(readFile(pics / odd.after), content);
    }
  }
  expectEveryFileOnce();
}

// A target one byte within the limit is renamed; one that passes it by a
// byte fails and the file keeps its name, whose own path fits.
TEST_F(OddNamesOnDisk, TargetsAtThePathLengthLimit) {
  // The longest path the system takes, without its terminating zero.
  constexpr std::size_t kLongest = PATH_MAX - 1;
  const std::string source = "mmexport1543717408.jpg";      // 22 bytes
  const std::string target = "mmexport20181202102328.jpg";  // 26 bytes
  const stdfs::path fits = folderOfLength(kLongest - 1 - target.size());
  const stdfs::path passes = folderOfLength(kLongest - target.size());
  ASSERT_EQ(fits.string().size() + 1 + target.size(), kLongest);
  ASSERT_EQ(passes.string().size() + 1 + target.size(), kLongest + 1);
  makeFile(fits / source);
  makeFile(passes / source);

  for (const stdfs::path& folder : {fits, passes}) {
    TextList listed;
    EXPECT_EQ(listFiles(folder.string(), "*.jpg", listed, false), 1);
    restoreFolder([&folder] { return folder.string(); });
  }

  EXPECT_TRUE(present(fits / target));
  EXPECT_FALSE(present(fits / source));
  EXPECT_TRUE(present(passes / source));
  EXPECT_FALSE(present(passes / target));
  expectEveryFileOnce();
}

// The folder text itself passes the limit: nothing can be listed, nothing
// is touched.
TEST_F(OddNamesOnDisk, FolderTextPastThePathLengthLimit) {
  const stdfs::path pics = root_ / "pics";
  stdfs::create_directory(pics);
  makeFile(pics / "mmexport1543717408.jpg");
  const Text tooLong = pics.string() + std::string(PATH_MAX, '/') + ".";
  restoreFolder([&tooLong]() -> Text { return tooLong; });
  EXPECT_TRUE(present(pics / "mmexport1543717408.jpg"));
  expectEveryFileOnce();
}

}  // namespace
}  // namespace velkaro
