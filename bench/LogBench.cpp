// Appending one installer-log line to a log that already holds 0, 1,000 and 10,000 lines. The
// cost of WriteInstallerLog must not grow with the file: the line is appended, not the whole
// file read and written back. In the same run, for reference: the read-and-rewrite way (what
// the log would cost if it replaced the file on every line) and a bare append of the same bytes
// with the C library (the least any log can cost). After the runs a table gives each cost as a
// ratio to the bare append.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

#include "platform/Platform.h"
#include "platform/TextCodec.h"
#include "support/InstallerLog.h"

namespace {

const std::string kLog = "QMRInstaller_Downloader.log";
const std::string kMessage = "TDownloader.Start: part 3 of 4, 1048576 bytes at offset 3145728";
// Few enough appended lines per run that the file stays at the size being measured.
constexpr int kIterations = 400;

std::filesystem::path& Root() {
  static std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("qvb-logbench-" + std::to_string(getpid()));
  return root;
}

std::string LogPath() {
  return InstallerLogFolder() + kLog;
}

// A log of lines lines, written as the installer writes them.
void PrepareLog(int lines) {
  std::filesystem::remove(LogPath());
  std::string bytes = "\xFF\xFE";
  const std::string line = EncodeUtf16Le(InstallerLogLines(kMessage), false);
  for (int i = 0; i < lines; ++i) bytes += line;
  std::filesystem::create_directories(InstallerLogFolder());
  std::ofstream(LogPath(), std::ios::binary) << bytes;
}

std::map<std::string, std::map<int, double>>& Results() {
  static std::map<std::string, std::map<int, double>> results;
  return results;
}

void BM_WriteInstallerLog(benchmark::State& state) {
  PrepareLog(int(state.range(0)));
  for (auto _ : state) WriteInstallerLog(kMessage, kLog);
}

// Reference: read every line, add one, write the whole file back (through a temporary file).
void BM_RewriteWholeFile(benchmark::State& state) {
  PrepareLog(int(state.range(0)));
  TFileSystem& files = TPlatform::Current().Files();
  const std::string path = LogPath();
  for (auto _ : state) {
    std::string bytes;
    files.ReadAll(path, bytes);
    std::string text;
    for (const std::string& line : SplitLines(DecodeText(bytes))) text += line + "\r\n";
    text += InstallerLogLines(kMessage);
    files.WriteAtomic(path, EncodeUtf16Le(text, true));
  }
}

// Reference: the same line's bytes appended with fopen/fwrite/fclose.
void BM_BareAppend(benchmark::State& state) {
  PrepareLog(int(state.range(0)));
  const std::string path = LogPath();
  const std::string line = EncodeUtf16Le(InstallerLogLines(kMessage), false);
  for (auto _ : state) {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  }
}

BENCHMARK(BM_WriteInstallerLog)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(kIterations)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RewriteWholeFile)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(kIterations)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareAppend)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(kIterations)
    ->Unit(benchmark::kMicrosecond);

// Collects the per-line times for the ratio table.
class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const std::string name = run.benchmark_name();
      const size_t slash = name.find('/');
      Results()[name.substr(3, slash - 3)][std::stoi(name.substr(slash + 1))] =
          run.GetAdjustedCPUTime();  // CPU time: wall time on a shared machine is noise
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  // A throw-away machine root, so the log lands in <root>/var/lib/Kelvra/QMRDownloader/.
  std::filesystem::create_directories(Root());
  setenv("QVB_SYSROOT", Root().c_str(), 1);
  benchmark::Initialize(&argc, argv);
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  auto& results = Results();
  const auto& bare = results["BareAppend"];
  std::printf("\nper-line CPU cost (us) and ratio to a bare append, by lines already in the log\n");
  std::printf("%-20s %18s %18s %18s\n", "", "0", "1000", "10000");
  for (const char* name : {"WriteInstallerLog", "RewriteWholeFile", "BareAppend"}) {
    std::printf("%-20s", name);
    for (int lines : {0, 1000, 10000}) {
      const double t = results[name][lines];
      std::printf("   %8.2f (x%5.1f)", t, bare.count(lines) && bare.at(lines) > 0 ? t / bare.at(lines) : 0.0);
    }
    std::printf("\n");
  }
  const auto& log = results["WriteInstallerLog"];
  if (log.count(0) && log.count(10000))
    std::printf("WriteInstallerLog at 10,000 lines / at 0 lines: %.2f\n", log.at(10000) / log.at(0));
  std::filesystem::remove_all(Root());
  return 0;
}
