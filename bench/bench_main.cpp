// tarvio_bench: how much the profile parsers cost over a bare RapidJSON parse
// of the same bodies, in time, heap and (under callgrind) instructions; how
// much a GEX repaint costs over sorting its values; how much an ordinary
// study call costs over an empty one; and how much the readers of the majors
// history and the futures conversion cost over a bare parse and read of the
// same text.
//   tarvio_bench [--figures=FILE] [Google Benchmark flags]
//       the timed sets, their ratio tables, then the peak heap table; FILE
//       gets the figures for a summary
//   tarvio_bench --instructions gex|greek|repaint
//       only the two 500-row parse loops, or the two 2000-strike repaint
//       loops, for an instruction count under callgrind
#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "bench/families.h"

namespace {

struct OwnOptions {
  std::optional<std::string> instructionsKind;
  std::string figuresPath;
};

// Takes this program's own options out of argv, leaving the rest for Google
// Benchmark, which refuses options it does not know.
OwnOptions takeOwnOptions(int& argc, char** argv) {
  OwnOptions options;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--instructions") == 0 && i + 1 < argc) {
      options.instructionsKind = argv[++i];
    } else if (std::strncmp(arg, "--instructions=", 15) == 0) {
      options.instructionsKind = arg + 15;
    } else if (std::strncmp(arg, "--figures=", 10) == 0) {
      options.figuresPath = arg + 10;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  argv[argc] = nullptr;
  return options;
}

// Keeps freed heap pages in the process. Otherwise the C library hands the
// top of the heap back after a large parse and the next parse pays page
// faults, or not, depending only on which blocks happen to lie at the top:
// that made the 5000-row floor slower than parse-and-fill of the same bodies.
void keepHeapPages() {
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
}

int instructionsMode(const std::string& kind) {
  for (ProfileKind profile : {ProfileKind::Gex, ProfileKind::Greek}) {
    if (kind == profileKindName(profile)) return runParseInstructionLoops(profile);
  }
  if (kind == "repaint") return runRepaintInstructionLoops();
  std::fprintf(stderr, "tarvio_bench: --instructions takes gex, greek or repaint, not '%s'\n",
               kind.c_str());
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const OwnOptions options = takeOwnOptions(argc, argv);
  keepHeapPages();
  if (options.instructionsKind) return instructionsMode(*options.instructionsKind);

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  FigureReporter reporter(options.figuresPath);
  if (!reporter.usable()) {
    std::fprintf(stderr, "tarvio_bench: cannot write %s\n", options.figuresPath.c_str());
    return 1;
  }

  const std::vector<FigureTable> tables = {registerParseBenchmarks(), registerRepaintBenchmarks(),
                                           registerStudyCallBenchmarks(),
                                           registerServiceTextBenchmarks()};
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  for (const FigureTable& table : tables) table(reporter);
  reportPeakHeap(reporter);
  return 0;
}
