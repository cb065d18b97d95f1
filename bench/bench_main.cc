// The benchmark program: every figure is taken in the Asia/Shanghai time
// zone, the zone a 13-digit stamp is written in on the machines the tool is
// made for, so that both kinds of stamp give the same names as the floor.
//
// Two more modes let another renaming tool be timed over the same folders:
//   velkaro_bench --make_folder=DIR --count=N    DIR made, with N pictures
//   velkaro_bench --check_folder=DIR --count=N   exit 0 when DIR holds the
//                                                N pictures restored

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "bench/bench_folder.h"
#include "bench/window_pump.h"
#include "platform/scoped_time_zone.h"

namespace {

// The value of --name=value among the arguments, or null.
const char* flagValue(int argc, char** argv, const char* name) {
  const size_t length = std::strlen(name);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], name, length) == 0 && argv[i][length] == '=') {
      return argv[i] + length + 1;
    }
  }
  return nullptr;
}

// The folder modes; -1 when neither is asked for.
int folderMode(int argc, char** argv) {
  using namespace velkaro::bench;
  const char* make = flagValue(argc, argv, "--make_folder");
  const char* check = flagValue(argc, argv, "--check_folder");
  if (make == nullptr && check == nullptr) return -1;
  const char* count = flagValue(argc, argv, "--count");
  const int n = count != nullptr ? std::atoi(count) : 0;
  if (n <= 0) {
    std::fprintf(stderr, "--count=N (N > 0) is needed\n");
    return 2;
  }
  const PictureSet set = makePictureSet(n);
  if (make != nullptr) {
    if (!makePictureFolder(make, set)) {
      std::fprintf(stderr, "cannot make %s with %d pictures\n", make, n);
      return 1;
    }
    return 0;
  }
  return folderHoldsRestored(check, set) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  velkaro::ScopedTimeZone zone("Asia/Shanghai");
  if (const int status = folderMode(argc, argv); status >= 0) return status;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::AddCustomContext("time_zone", "Asia/Shanghai");
  benchmark::AddCustomContext("window_pump", velkaro::bench::windowPumpName());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  velkaro::bench::endWindowPump();
  return 0;
}
