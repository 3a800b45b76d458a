// orvane-explore's answer to a click: the time from a new view to its first preview, while the
// previous view is still being drawn (which the new one stops), and to its full picture; and
// click_ms, the time the window's own thread spends on the click (the new centre in MPFR and
// the ask), which must stay within a screen frame.
// The bar is the first preview within 100 ms at 1e300 and depth 4096 on 2 cores.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>

#include <chrono>

#include "explore/explore_steering.h"
#include "explore/picture_worker.h"

namespace {

using orvane::ViewRequest;
using orvane::explore::DrawnPicture;
using orvane::explore::PictureWorker;

struct View {
  const char* name;
  const char* centre;  // X,Y
  const char* zoom;
  int depth;
};

constexpr View kViews[] = {
    {"whole_set", "-0.5,0", "1", 256},
    {"misiurewicz_i_1e300_depth4096", "0,1", "1e300", 4096},
    {"misiurewicz_i_1e1000_depth8192", "0,1", "1e1000", 8192},
};

ViewRequest viewOf(const View& view) {
  ViewRequest request = orvane::explore::homeView({800, 600});
  const std::string centre = view.centre;
  const std::size_t comma = centre.find(',');
  request.centre = {*orvane::deep::ViewNumber::read(centre.substr(0, comma)),
                    *orvane::deep::ViewNumber::read(centre.substr(comma + 1))};
  request.zoom = *orvane::deep::ViewNumber::read(view.zoom);
  request.depth = view.depth;
  return request;
}

// Each iteration: the view, half-zoomed, is drawing when the view itself is asked for, as a
// click during a drawing asks; timed to its first preview, and its full picture counted.
void answerClick(benchmark::State& bench, const View& view) {
  PictureWorker worker({.threads = 2});
  const ViewRequest target = viewOf(view);
  const ViewRequest before = orvane::explore::zoomedBy(target, "0.5");
  long awaited = 0;
  bool preview = false;
  bool full = false;
  QObject::connect(&worker, &PictureWorker::drawn, [&](const DrawnPicture& picture) {
    if (picture.generation != awaited) return;
    preview = true;
    full = full || picture.full;
  });
  double fullSeconds = 0;
  double clickSeconds = 0;
  for (auto _ : bench) {
    worker.draw(before);
    QApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    preview = full = false;
    // What the window's thread does for a click: the new view's exact centre, then the ask.
    benchmark::DoNotOptimize(orvane::explore::zoomedInto(before, {123, 45}, "2"));
    awaited = worker.draw(target);
    clickSeconds += static_cast<double>(clock.nsecsElapsed()) * 1e-9;
    while (!preview) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    bench.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) * 1e-9);
    while (!full) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    fullSeconds += static_cast<double>(clock.nsecsElapsed()) * 1e-9;
  }
  bench.counters["full_s"] = benchmark::Counter(fullSeconds, benchmark::Counter::kAvgIterations);
  bench.counters["click_ms"] =
      benchmark::Counter(1e3 * clickSeconds, benchmark::Counter::kAvgIterations);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  for (const View& view : kViews) {
    benchmark::RegisterBenchmark(view.name, [&view](benchmark::State& s) { answerClick(s, view); })
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
