// The folder benchmarks: the restore run and the floor over the same
// generated folders of 1,000, 10,000 and 100,000 pictures, on a RAM file
// system and on the ordinary temporary folder; and the listing alone, with
// and without the window's event pump.
//
// Names: floor/<medium>/<count>, restore/<medium>/<count>,
// restore_pump/ram/<count>, list/ram/<count>, list_pump/ram/<count>, and
// window/ram/<count>: the window's restore button over the folder, its
// path box read for each file.
// Diagnostics beside them: floor_paths (the floor renaming by full paths,
// as the run does), fix_clock and fix_all (the run with the prototypes of
// bench/prototype.h installed), list_pump_throttled (the listing with a
// pump that dispatches at most every 10 ms).
// Every figure is wall time per run; the folder is rebuilt before each run
// outside the timed part, and checked after it: a run that leaves a picture
// without its restored name fails the benchmark instead of timing less work.
// Each benchmark reports the process's peak memory (peak_rss_mib), which
// means something when one process runs one benchmark, as bench/run does,
// and the peak during the timed runs alone (run_peak_mib).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "bench/bench_folder.h"
#include "bench/floor.h"
#include "bench/prototype.h"
#include "bench/window_pump.h"
#include "restore/listing.h"
#include "restore/restore_run.h"
#include "values/text.h"

namespace velkaro::bench {
namespace {

enum class Work {
  kFloor,
  kFloorPaths,
  kRestore,
  kRestoreFixClock,
  kRestoreFixAll,
  kRestoreWithPump,
  kWindow,
};

const char* nameOf(Work work) {
  switch (work) {
    case Work::kFloor:
      return "floor";
    case Work::kFloorPaths:
      return "floor_paths";
    case Work::kRestore:
      return "restore";
    case Work::kRestoreFixClock:
      return "fix_clock";
    case Work::kRestoreFixAll:
      return "fix_all";
    case Work::kRestoreWithPump:
      return "restore_pump";
    case Work::kWindow:
      return "window";
  }
  return "?";
}

Fixes fixesFor(Work work) {
  Fixes fixes;
  fixes.cachedClock =
      work == Work::kRestoreFixClock || work == Work::kRestoreFixAll;
  fixes.renameFirst = work == Work::kRestoreFixAll;
  return fixes;
}

enum class Pump { kNone, kEveryFile, kThrottled };

// The throttled pump's interval: a window repaints at this rate at least.
constexpr int kPumpIntervalMs = 10;

constexpr int kCounts[] = {1000, 10000, 100000};

// Timed runs per benchmark: the rebuild outside the timed part costs more
// than the run, so big folders get few runs.
int runsFor(int count) {
  if (count >= 100000) return 3;
  if (count >= 10000) return 20;
  return 100;
}

// peak_rss_mib: the process's peak over its whole life (the folder's
// generation and checks included); run_peak_mib: the peak during the timed
// runs alone, the kernel's high-water mark being reset before each.
void reportFolder(benchmark::State& state, const std::string& parent, int count,
                  double runPeak) {
  state.SetLabel(fileSystemTypeOf(parent));
  state.SetItemsProcessed(state.iterations() * count);
  state.counters["files"] = count;
  state.counters["peak_rss_mib"] = peakMemoryMiB();
  if (runPeak > 0) state.counters["run_peak_mib"] = runPeak;
}

void folderRun(benchmark::State& state, Medium medium, int count, Work work) {
  const PictureSet& set = pictureSetOf(count);
  const std::string parent = folderFor(medium);
  ScratchFolder scratch(parent);
  if (!scratch.ok()) {
    state.SkipWithError(scratch.error().c_str());
    return;
  }
  if (work == Work::kRestoreWithPump && !installWindowPump()) {
    state.SkipWithError("no window pump in this build");
    return;
  }
  const ScopedFixes fixes(fixesFor(work));
  double runPeak = 0;
  for (auto _ : state) {
    const std::string& folder = scratch.rebuild(set);
    if (folder.empty()) {
      state.SkipWithError(scratch.error().c_str());
      break;
    }
    const Text folderText = folder;
    const bool peakReset = resetPeakMemory();
    const auto start = std::chrono::steady_clock::now();
    if (work == Work::kFloor || work == Work::kFloorPaths) {
      floorRestore(folder, work == Work::kFloorPaths);
    } else if (work == Work::kWindow) {
      restoreInWindow(folder);
    } else {
      restoreFolder([&folderText] { return folderText; });
    }
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    if (peakReset) runPeak = std::max(runPeak, peakMemorySinceResetMiB());
    if (!scratch.holdsRestored(set)) {
      state.SkipWithError("the folder does not hold the restored names");
      break;
    }
  }
  if (work == Work::kRestoreWithPump) removeWindowPump();
  reportFolder(state, parent, count, runPeak);
}

void listing(benchmark::State& state, int count, Pump pump) {
  const PictureSet& set = pictureSetOf(count);
  const std::string parent = folderFor(Medium::kRam);
  ScratchFolder scratch(parent);
  const Text folder = scratch.rebuild(set);
  if (folder.empty()) {
    state.SkipWithError(scratch.error().c_str());
    return;
  }
  if ((pump == Pump::kEveryFile && !installWindowPump()) ||
      (pump == Pump::kThrottled &&
       !installThrottledWindowPump(kPumpIntervalMs))) {
    state.SkipWithError("no window pump in this build");
    return;
  }
  for (auto _ : state) {
    TextList files;
    const int listed = listFiles(folder, "*.jpg", files, true);
    benchmark::DoNotOptimize(files.data());
    if (listed != count) {
      state.SkipWithError("the listing missed pictures");
      break;
    }
  }
  if (pump != Pump::kNone) removeWindowPump();
  reportFolder(state, parent, count, 0);
}

std::string nameOf(const char* work, Medium medium, int count) {
  return std::string(work) + "/" + mediumName(medium) + "/" +
         std::to_string(count);
}

void registerRun(Work work, Medium medium, int count) {
  benchmark::RegisterBenchmark(nameOf(nameOf(work), medium, count).c_str(),
                               folderRun, medium, count, work)
      ->UseManualTime()
      ->Iterations(runsFor(count))
      ->Unit(benchmark::kMillisecond);
}

void registerListing(const char* name, int count, Pump pump) {
  benchmark::RegisterBenchmark(nameOf(name, Medium::kRam, count).c_str(),
                               listing, count, pump)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
}

[[maybe_unused]] const bool registered = [] {
  for (const Medium medium : {Medium::kRam, Medium::kDisk}) {
    for (const int count : kCounts) {
      for (const Work work : {Work::kFloor, Work::kRestore, Work::kFloorPaths,
                              Work::kRestoreFixClock, Work::kRestoreFixAll}) {
        registerRun(work, medium, count);
      }
    }
  }
  for (const int count : kCounts) {
    registerListing("list", count, Pump::kNone);
    if (!haveWindowPump()) continue;
    registerListing("list_pump", count, Pump::kEveryFile);
    registerListing("list_pump_throttled", count, Pump::kThrottled);
    registerRun(Work::kRestoreWithPump, Medium::kRam, count);
    if (haveWindow()) registerRun(Work::kWindow, Medium::kRam, count);
  }
  return true;
}();

}  // namespace
}  // namespace velkaro::bench
