// Loading and writing INI content of 10,000 and 100,000 keys with TSafeIniFile. The cost per
// key ("per_key") must stay flat between the two sizes: lookups go through hashes that appends
// and replaces keep valid. A plain reader into nested hash maps (what one would write instead)
// runs in the same process as the reference.
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>

#include "platform/MemoryStream.h"
#include "platform/TextCodec.h"
#include "support/SafeIniFile.h"

namespace {

constexpr int kSections = 10;

std::string Key(int i) {
  return "Key" + std::to_string(i);
}
std::string Section(int i) {
  return "Section" + std::to_string(i % kSections);
}

const std::string& SavedText(int keys) {
  static std::unordered_map<int, std::string> cache;
  std::string& bytes = cache[keys];
  if (bytes.empty()) {
    TSafeIniFile ini;
    for (int i = 0; i < keys; ++i) ini.WriteString(Section(i), Key(i), "value " + std::to_string(i));
    TMemoryStream stream;
    ini.SaveToStream(stream);
    bytes = stream.Bytes();
  }
  return bytes;
}

void PerKey(benchmark::State& state, int keys) {
  state.counters["per_key"] = benchmark::Counter(
      double(keys), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Load from a stream, then read every key once.
void BM_LoadAndRead(benchmark::State& state) {
  const int keys = int(state.range(0));
  const std::string& bytes = SavedText(keys);
  for (auto _ : state) {
    TSafeIniFile ini;
    TMemoryStream stream(bytes);
    ini.LoadFromStream(stream);
    size_t total = 0;
    for (int i = 0; i < keys; ++i) total += ini.ReadString(Section(i), Key(i), "").size();
    benchmark::DoNotOptimize(total);
  }
  PerKey(state, keys);
}

// Write every key into a fresh object (appends), then every key again (replaces), then save.
void BM_WriteAndSave(benchmark::State& state) {
  const int keys = int(state.range(0));
  for (auto _ : state) {
    TSafeIniFile ini;
    for (int i = 0; i < keys; ++i) ini.WriteString(Section(i), Key(i), "first");
    for (int i = 0; i < keys; ++i) ini.WriteString(Section(i), Key(i), "second");
    TMemoryStream stream;
    ini.SaveToStream(stream);
    benchmark::DoNotOptimize(stream.Bytes().data());
  }
  PerKey(state, keys);
}

// Reference: decode, split, trim and fold into nested hash maps, then read every key once.
void BM_ReferenceHashMaps(benchmark::State& state) {
  const int keys = int(state.range(0));
  const std::string& bytes = SavedText(keys);
  for (auto _ : state) {
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> sections;
    std::unordered_map<std::string, std::string>* current = nullptr;
    for (const std::string& raw : SplitLines(DecodeText(bytes))) {
      const std::string line = Trim(raw);
      if (line.empty() || line[0] == ';') continue;
      if (line.front() == '[' && line.back() == ']') {
        current = &sections[UpperCase(Trim(line.substr(1, line.size() - 2)))];
      } else if (current) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
          (*current)[UpperCase(Trim(line.substr(0, equals)))] = Trim(line.substr(equals + 1));
      }
    }
    size_t total = 0;
    for (int i = 0; i < keys; ++i) total += sections[UpperCase(Section(i))][UpperCase(Key(i))].size();
    benchmark::DoNotOptimize(total);
  }
  PerKey(state, keys);
}

BENCHMARK(BM_LoadAndRead)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteAndSave)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReferenceHashMaps)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
