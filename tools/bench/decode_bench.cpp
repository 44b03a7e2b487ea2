// Times the programs' own picture decoder natively on the built-in
// background pictures, the pictures that decide how soon a window paints.
// Built and run by tools/bench/decode.sh, outside the presets, with the
// optimisation the programs ship with or any other.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/picture_decode.h"

namespace {

const char* const kPictures[] = {"resources/discmenu/wizard_background.png",
                                 "resources/modelmenu/wizard_background.png",
                                 "resources/modelmenu/wizard_zhCN_background.png"};

void Decode(benchmark::State& state, const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
  if (bytes.empty()) {
    state.SkipWithError(("cannot read " + path).c_str());
    return;
  }
  for (auto _ : state) {
    platform::Picture p = platform::DecodeGifOrPng(bytes.data(), bytes.size(), path);
    benchmark::DoNotOptimize(p);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  for (const char* path : kPictures) benchmark::RegisterBenchmark(path, Decode, std::string(path));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
