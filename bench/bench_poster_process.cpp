// Whole orvane-render processes, as a user times the command: start-up, the pass, colouring
// and writing the PNG, for the home view at depth 2048 at the window's size and two poster
// sizes.
//
// The time per iteration is the process's wall-clock time. Counters: `pass_s` is the pass time
// the process reports under --stats, `whole/pass` the ratio of the two, `peak_MiB` the
// process's largest resident size, `file_MiB` the size of the PNG.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

extern char** environ;

namespace {

struct Run {
  double wallSeconds = 0;
  double passSeconds = 0;
  double peakMiB = 0;
  bool ok = false;
};

// Runs the renderer with `arguments`, its standard output read through a pipe and its
// standard error thrown away.
Run runRenderer(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  std::string program = ORVANE_RENDER_EXECUTABLE;
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int out[2];
  if (pipe(out) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

  Run run;
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string output;
  std::array<char, 4096> buffer;
  for (ssize_t got; spawned == 0 && (got = read(out[0], buffer.data(), buffer.size())) > 0;)
    output.append(buffer.data(), static_cast<std::size_t>(got));
  close(out[0]);
  if (spawned != 0) return {};
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) return {};
  run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024;  // kibibytes on Linux
  const std::size_t at = output.find("\nseconds ");
  if (at != std::string::npos) run.passSeconds = std::strtod(output.c_str() + at + 9, nullptr);
  run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && run.passSeconds > 0;
  return run;
}

void runPoster(benchmark::State& bench, int width, int height) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("bench_poster_process_" + std::to_string(getpid()) + ".png");
  const std::vector<std::string> arguments = {
      "--size",     std::to_string(width) + "x" + std::to_string(height),
      "--depth",    "2048",
      "--stats",    "-o",
      file.string()};
  double wall = 0, pass = 0, peak = 0;
  for (auto _ : bench) {
    const Run run = runRenderer(arguments);
    if (!run.ok) {
      bench.SkipWithError("orvane-render failed");
      break;
    }
    bench.SetIterationTime(run.wallSeconds);
    wall += run.wallSeconds;
    pass += run.passSeconds;
    peak = std::max(peak, run.peakMiB);
  }
  std::error_code error;
  const std::uintmax_t bytes = std::filesystem::file_size(file, error);
  std::error_code ignored;
  std::filesystem::remove(file, ignored);
  if (wall <= 0) return;
  bench.counters["pass_s"] = benchmark::Counter(pass, benchmark::Counter::kAvgIterations);
  bench.counters["whole/pass"] = wall / pass;
  bench.counters["peak_MiB"] = peak;
  if (!error) bench.counters["file_MiB"] = static_cast<double>(bytes) / (1 << 20);
}

}  // namespace

int main(int argc, char** argv) {
  const std::array<std::array<int, 2>, 3> sizes = {{{400, 300}, {1600, 1200}, {4000, 3000}}};
  for (const auto& [width, height] : sizes) {
    const std::string name =
        "process_" + std::to_string(width) + "x" + std::to_string(height) + "_depth2048";
    benchmark::RegisterBenchmark(
        name.c_str(), [width, height](benchmark::State& s) { runPoster(s, width, height); })
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
