// Whole render passes over the views of the benchmark table, on an offscreen surface.
//
// Each view runs three times: "scalar/1" is the plain scalar loop on one thread, "simd/1" the
// SIMD kernel on one thread and "full/N" the SIMD kernel on every core. The counter `iter/s`
// is iterations per second of wall-clock time.
#include <benchmark/benchmark.h>

#include <functional>
#include <thread>
#include <utility>

#include "engine/load_routine.h"
#include "engine/memory_surface.h"
#include "engine/poster.h"
#include "engine/render_pass.h"

namespace {

using orvane::DialogValues;
using orvane::ExplorerState;

struct View {
  std::function<void(ExplorerState&, DialogValues&)> apply;
};

void homeDepth(ExplorerState& s, DialogValues&, std::int16_t depth) {
  s.iterDepth = depth;
}

void runView(benchmark::State& bench, const View& view, orvane::ComputeOptions options,
             std::int16_t gridChoice) {
  ExplorerState state;
  DialogValues dialogs;
  state.gridChoice = gridChoice;
  orvane::formLoad(state, dialogs);
  view.apply(state, dialogs);
  orvane::MemorySurface surface(orvane::kPictureWidth, orvane::kPictureHeight);
  orvane::RenderPass pass(
      state, dialogs, surface, [] {}, options);
  std::uint64_t iterations = 0;
  for (auto _ : bench) {
    pass.drawings();
    iterations += pass.statistics().iterations;
  }
  bench.counters["iter/s"] =
      benchmark::Counter(static_cast<double>(iterations), benchmark::Counter::kIsRate);
  bench.counters["iter/pass"] = static_cast<double>(pass.statistics().iterations);
}

void registerView(const char* name, View view, std::int16_t gridChoice = 0) {
  const std::string cores = std::to_string(std::thread::hardware_concurrency());
  const std::pair<std::string, orvane::ComputeOptions> paths[] = {
      {"/scalar/1", {.threads = 1, .vectorised = false}},
      {"/simd/1", {.threads = 1, .vectorised = true}},
      {"/full/" + cores, {.threads = 0, .vectorised = true}},
  };
  for (const auto& [path, options] : paths) {
    const std::string benchName = name + path;
    benchmark::RegisterBenchmark(
        benchName.c_str(), [=](benchmark::State& s) { runView(s, view, options, gridChoice); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();  // wall-clock time: the passes run on several threads
  }
}

void registerViews() {
  registerView("home_depth64", {[](auto& s, auto& d) { homeDepth(s, d, 64); }});
  registerView("home_depth2048", {[](auto& s, auto& d) { homeDepth(s, d, 2048); }});
  registerView("home_depth2048_line", {[](auto& s, auto& d) { homeDepth(s, d, 2048); }},
               orvane::kLineMode);
  registerView("home_depth2048_grid32", {[](auto& s, auto& d) { homeDepth(s, d, 2048); }}, 32);
  registerView("julia_depth1024", {[](ExplorerState& s, DialogValues& d) {
                 s.drawing = orvane::formula::kJulia;
                 s.iterDepth = 1024;
                 d.dimension.numDx = -0.8;
                 d.dimension.numDy = 0.156;
                 d.position.numzoom = 1.2;
               }});
  registerView("hole_depth256", {[](ExplorerState& s, DialogValues& d) {
                 s.drawing = orvane::formula::kHole;
                 s.iterDepth = 256;
                 s.escapeValue = 16;
                 d.position.numzoom = 10;
                 d.position.numx = -0.2;
                 d.position.numy = -0.055;
               }});
  registerView("deep_zoom_depth2048", {[](ExplorerState& s, DialogValues& d) {
                 s.iterDepth = 2048;
                 d.position.numzoom = 1e6;
                 d.position.numx = -0.743643887037151;
                 d.position.numy = 0.131825904205330;
               }});
  registerView("home_depth2048_jitter", {[](ExplorerState& s, DialogValues&) {
                 s.iterDepth = 2048;
                 s.jitterLow = 0.33f;
                 s.jitterHigh = 3.0f;
               }});
}

// A 4000 x 3000 poster of the home view at depth 2048, on every core.
void runPoster(benchmark::State& bench) {
  std::uint64_t iterations = 0;
  for (auto _ : bench) {
    ExplorerState state;
    DialogValues dialogs;
    orvane::formLoad(state, dialogs);
    state.iterDepth = 2048;
    iterations += orvane::renderPoster(state, dialogs, {4000, 3000}, {},
                                       [](int, std::span<const orvane::Colour>) {})
                      .iterations;
  }
  bench.counters["iter/s"] =
      benchmark::Counter(static_cast<double>(iterations), benchmark::Counter::kIsRate);
}

}  // namespace

int main(int argc, char** argv) {
  registerViews();
  benchmark::RegisterBenchmark("poster_4000x3000_depth2048/full", runPoster)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
