// Whole passes through the real main window and picture on the offscreen platform, beside the
// engine-only pass on a memory surface with no event loop, for the same views.
//
// "window" runs Start on a shown main window: pixels go into the picture's image, every yield
// publishes them and turns the Qt event loop (painting included). "engine" runs the same
// `drawings` with every core on a memory surface and an empty yield.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "engine/load_routine.h"
#include "engine/memory_surface.h"
#include "shell/main_window.h"

namespace {

using orvane::DialogValues;
using orvane::ExplorerState;

struct View {
  const char* name;
  std::int16_t depth;
  std::int16_t gridChoice;  // 0 square array, 1 line mode
};

constexpr View kViews[] = {
    {"home_depth64", 64, 0},
    {"home_depth64_line", 64, orvane::kLineMode},
    {"home_depth2048", 2048, 0},
    {"home_depth2048_line", 2048, orvane::kLineMode},
};

void setUp(ExplorerState& state, DialogValues& dialogs, const View& view) {
  state.gridChoice = view.gridChoice;
  orvane::formLoad(state, dialogs);
  state.iterDepth = view.depth;
}

void runWindow(benchmark::State& bench, const View& view) {
  orvane::MainWindow window;
  window.show();
  QApplication::processEvents();
  setUp(window.state(), window.dialogs(), view);
  for (auto _ : bench) window.mnuStart_Click();
}

void runEngine(benchmark::State& bench, const View& view) {
  ExplorerState state;
  DialogValues dialogs;
  setUp(state, dialogs, view);
  orvane::MemorySurface surface(orvane::kPictureWidth, orvane::kPictureHeight);
  orvane::RenderPass pass(state, dialogs, surface, [] {});
  for (auto _ : bench) pass.drawings();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  for (const View& view : kViews) {
    const std::string name = view.name;
    benchmark::RegisterBenchmark((name + "/engine").c_str(),
                                 [view](benchmark::State& s) { runEngine(s, view); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark((name + "/window").c_str(),
                                 [view](benchmark::State& s) { runWindow(s, view); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
