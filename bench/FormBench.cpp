// The main window's description: loading it into a form, and painting one frame headless.
// Targets: under 20 ms to load, under 5 ms a frame.
#include <benchmark/benchmark.h>

#include "platform/Resources.h"
#include "public/rdcontrol/FormReader.h"
#include "public/rdcontrol/RdForm.h"

namespace {

void BM_LoadMainWindow(benchmark::State& state) {
  std::string_view text = FindResource("TfrmQVBDownloader");
  for (auto _ : state) {
    TRdForm form;
    TFormReader::ReadRoot(form, text);
    benchmark::DoNotOptimize(form.ComponentCount());
  }
}
BENCHMARK(BM_LoadMainWindow)->Unit(benchmark::kMillisecond);

// Parsing alone, the share of the load that is text.
void BM_ParseMainWindow(benchmark::State& state) {
  std::string_view text = FindResource("TfrmQVBDownloader");
  for (auto _ : state) benchmark::DoNotOptimize(ParseFormText(text));
}
BENCHMARK(BM_ParseMainWindow)->Unit(benchmark::kMillisecond);

void BM_PaintMainWindowFrame(benchmark::State& state) {
  TRdForm form;
  TFormReader::ReadRoot(form, FindResource("TfrmQVBDownloader"));
  form.PaintFrame();  // the glyph cache warms up once, as it does in a running window
  for (auto _ : state) benchmark::DoNotOptimize(form.PaintFrame().Pixel(320, 200));
}
BENCHMARK(BM_PaintMainWindowFrame)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
