// Deep zoom against the double path: 800 x 600 pictures through the renderer's own
// renderPicture, reference orbits included. The counter `iter/s` is the effective rate:
// iterations as a direct iteration takes them, per second of wall-clock time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "render/render_picture.h"

namespace {

struct View {
  const char* name;
  const char* x;
  const char* y;
  const char* zoom;
  int depth;
  std::int16_t rotation = 0;
};

// The nucleus of the period-200 minibrot on the needle near -2, 10^-239 across.
constexpr const char* kMinibrot200 =
    "-1.999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
    "999999999999999999999999999999994266857469037015248688734149699219827953939104649515643786"
    "208826673859032991174195043408862370758555984601058292006584653443881381813937309763690343"
    "079234372391546505332118652839882145283509";

// The double views hold about as many iterations per pixel as the deep ones. Near the
// Misiurewicz point i a pixel escapes after about 2.3 ln(zoom) / 0.87 steps, so the deep
// views' cost grows with their depth of zoom as real zooms do.
constexpr View kViews[] = {
    {"double/seahorse_1e3", "-0.743643887037151", "0.13182590420533", "1e3", 2048},
    {"double/seahorse_1e6", "-0.743643887037151", "0.13182590420533", "1e6", 2048},
    {"double/home", "-0.5", "0", "1", 2048},
    {"deep/misiurewicz_1e60", "0", "1", "1e60", 2048},
    {"deep/misiurewicz_1e300", "0", "1", "1e300", 2048},
    {"deep/misiurewicz_1e1000", "0", "1", "1e1000", 4096},
    // The period-200 minibrot of docs/deep-zoom.md, framed as there (the real axis across):
    // its pixels inside run to the depth, the others escape late, and its reference returns
    // to 0 at step 200. Approximations cross each period in one map, and pixels inside skip
    // their cycles once they repeat.
    {"deep/minibrot200_1e239_depth4096", kMinibrot200, "0", "1e239", 4096, 90},
    {"deep/minibrot200_1e239_depth32767", kMinibrot200, "0", "1e239", 32767, 90},
    {"deep/minibrot200_1e239_depth1000000", kMinibrot200, "0", "1e239", 1000000, 90},
};

void run(benchmark::State& bench, const View& view) {
  orvane::RenderRequest request;
  using orvane::deep::ViewNumber;
  request.view.centre = {*ViewNumber::read(view.x), *ViewNumber::read(view.y)};
  request.view.zoom = *ViewNumber::read(view.zoom);
  request.view.depth = view.depth;
  request.view.rotation = view.rotation;
  request.view.size = orvane::PosterSize{800, 600};
  std::uint64_t iterations = 0;
  for (auto _ : bench) {
    iterations += orvane::renderPicture(request, {}, [](int, std::span<const orvane::Colour>) {
                  }).statistics.iterations;
  }
  bench.counters["iter/s"] =
      benchmark::Counter(static_cast<double>(iterations), benchmark::Counter::kIsRate);
  bench.counters["iter/pixel"] =
      static_cast<double>(iterations) / (800.0 * 600.0 * static_cast<double>(bench.iterations()));
}

}  // namespace

int main(int argc, char** argv) {
  for (const View& view : kViews) {
    benchmark::RegisterBenchmark(view.name, [&view](benchmark::State& s) { run(s, view); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();  // wall-clock time: the pictures are drawn on every core
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
