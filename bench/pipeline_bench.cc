// Per-file costs without I/O: the whole name pipeline (nameStampFor) for a
// 10-digit and a 13-digit stamp, each step of it alone, the target path the
// run builds around it, and the floor's own name for comparison.
//
// Names: pipeline/name_stamp/<10|13>, step/<operation>/<10|13>,
// floor_name/<10|13>, and fix_clock/name_stamp/<10|13> with the prototype
// of bench/prototype.h installed. Each benchmark walks a ring of 512 different
// inputs taken from the generated folder, so no figure is that of one lucky
// value.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>
#include <vector>

#include "bench/bench_folder.h"
#include "bench/floor.h"
#include "bench/prototype.h"
#include "restore/marker.h"
#include "restore/restore_run.h"
#include "timeconv/compact_date_time.h"
#include "timeconv/timestamp_conversion.h"
#include "values/date_time.h"
#include "values/text.h"

namespace velkaro::bench {
namespace {

constexpr size_t kRing = 512;  // a power of two
// A folder of the usual depth; the paths are only read, never opened.
constexpr char kFolder[] = "/home/user/pictures/exported";

// One kind of stamp (10 or 13 digits) at every stage of the pipeline.
struct Inputs {
  std::vector<Text> names;       // mmexport1543717408.jpg
  std::vector<Text> paths;       // kFolder/mmexport1543717408.jpg
  std::vector<Text> stamps;      // 1543717408
  std::vector<Text> dateTexts;   // 2018-12-02 10:23:28
  std::vector<DateTime> whens;   // its value
  std::vector<Text> spaced;      // 20181202 102328
  std::vector<Text> nameStamps;  // 20181202102328
};

// The inputs of digits (10 or 13); the even names of a generated set hold
// 10-digit stamps, the odd ones 13-digit stamps.
const Inputs& inputsOf(int digits) {
  static const Inputs* const kInputs = [] {
    auto* both = new Inputs[2];
    const PictureSet set = makePictureSet(static_cast<int>(2 * kRing));
    for (size_t i = 0; i < set.names.size(); ++i) {
      Inputs& in = both[i % 2];
      const Text name = set.names[i];
      in.names.push_back(name);
      in.paths.push_back(concatText(kFolder, "/", name));
      in.stamps.push_back(name.substr(8, name.size() - 12));
      in.dateTexts.push_back(timestampToDateText(in.stamps.back()));
      in.whens.push_back(toDateTime(in.dateTexts.back()));
      in.spaced.push_back(dateTimeToText(in.whens.back(), "", "", 3));
      in.nameStamps.push_back(replaceText(in.spaced.back(), " ", ""));
    }
    return both;
  }();
  return kInputs[digits == 10 ? 0 : 1];
}

// Fails the benchmark when the inputs did not go through the pipeline.
bool checkInputs(benchmark::State& state, const Inputs& in) {
  for (const Text& stamp : in.nameStamps) {
    if (stamp.size() != 14) {
      state.SkipWithError("the pipeline gave no name stamp for a stamp");
      return false;
    }
  }
  return true;
}

template <typename Step>
void perFile(benchmark::State& state, int digits, Step step) {
  const Inputs& in = inputsOf(digits);
  if (!checkInputs(state, in)) return;
  size_t i = 0;
  for (auto _ : state) {
    step(in, i);
    i = (i + 1) & (kRing - 1);
  }
  state.SetItemsProcessed(state.iterations());
}

void nameStamp(benchmark::State& state, int digits) {
  perFile(state, digits, [](const Inputs& in, size_t i) {
    Text out = nameStampFor(in.stamps[i]);
    benchmark::DoNotOptimize(out.data());
  });
}

// The same with the cached clock setting of bench/prototype.h installed.
void nameStampFixClock(benchmark::State& state, int digits) {
  Fixes fixes;
  fixes.cachedClock = true;
  const ScopedFixes installed(fixes);
  nameStamp(state, digits);
}

void stepTextBetween(benchmark::State& state, int digits) {
  perFile(state, digits, [](const Inputs& in, size_t i) {
    Text out = textBetween(in.paths[i], "mmexport", ".jpg");
    benchmark::DoNotOptimize(out.data());
  });
}

void stepTimestampToDateText(benchmark::State& state, int digits) {
  perFile(state, digits, [](const Inputs& in, size_t i) {
    Text out = timestampToDateText(in.stamps[i]);
    benchmark::DoNotOptimize(out.data());
  });
}

void stepToDateTime(benchmark::State& state, int digits) {
  perFile(state, digits, [](const Inputs& in, size_t i) {
    DateTime out = toDateTime(in.dateTexts[i]);
    benchmark::DoNotOptimize(out);
  });
}

void stepDateTimeToText(benchmark::State& state, int digits) {
  perFile(state, digits, [](const Inputs& in, size_t i) {
    Text out = dateTimeToText(in.whens[i], "", "", 3);
    benchmark::DoNotOptimize(out.data());
  });
}

void stepReplaceText(benchmark::State& state, int digits) {
  perFile(state, digits, [](const Inputs& in, size_t i) {
    Text out = replaceText(in.spaced[i], " ", "");
    benchmark::DoNotOptimize(out.data());
  });
}

// What the run does around the name stamp: read the folder source afresh
// and join the target path.
void stepTargetPath(benchmark::State& state, int digits) {
  const Text folder = kFolder;
  const FolderSource source = [&folder] { return folder; };
  perFile(state, digits, [&source](const Inputs& in, size_t i) {
    const Text folderText = source();
    Text out =
        concatText(folderText, "/", "mmexport", in.nameStamps[i], ".jpg");
    benchmark::DoNotOptimize(out.data());
  });
}

void floorName(benchmark::State& state, int digits) {
  perFile(state, digits, [](const Inputs& in, size_t i) {
    char out[64];
    floorNewName(in.names[i].c_str(), out, sizeof out);
    benchmark::DoNotOptimize(out);
  });
}

[[maybe_unused]] const bool registered = [] {
  using Fn = void (*)(benchmark::State&, int);
  const struct {
    const char* name;
    Fn fn;
  } kSteps[] = {
      {"pipeline/name_stamp", nameStamp},
      {"fix_clock/name_stamp", nameStampFixClock},
      {"step/text_between", stepTextBetween},
      {"step/timestamp_to_date_text", stepTimestampToDateText},
      {"step/to_date_time", stepToDateTime},
      {"step/date_time_to_text", stepDateTimeToText},
      {"step/replace_text", stepReplaceText},
      {"step/target_path", stepTargetPath},
      {"floor_name", floorName},
  };
  for (const auto& step : kSteps) {
    for (const int digits : {10, 13}) {
      benchmark::RegisterBenchmark(
          (std::string(step.name) + "/" + std::to_string(digits)).c_str(),
          step.fn, digits);
    }
  }
  return true;
}();

}  // namespace
}  // namespace velkaro::bench
