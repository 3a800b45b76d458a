// orvane-render ended by a signal in the middle of a poster: the process ends by that signal,
// which the shell reports as 128 plus its number, and leaves nothing in the folder.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Interruption {
  const char* name;
  std::vector<int> sent;  // one after the other
  int endedBy;
  bool hangupIgnored = false;  // started as nohup starts it
};

class InterruptedPoster : public testing::TestWithParam<Interruption> {};

// A poster that takes far longer than the test waits; it is ended once its progress bar shows,
// a second into the pass, when the file is being written.
TEST_P(InterruptedPoster, EndsByTheSignalAndLeavesNothing) {
  const Interruption& row = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  std::vector<std::string> arguments = {ORVANE_RENDER_EXECUTABLE,
                                        "--center",
                                        "0,1",
                                        "--zoom",
                                        "1e1000",
                                        "--depth",
                                        "4096",
                                        "--size",
                                        "2400x1800",
                                        "-o",
                                        QFile::encodeName(dir.filePath("x.png")).toStdString()};
  if (row.hangupIgnored)
    arguments.insert(arguments.begin(), {"/bin/sh", "-c", "trap '' HUP; exec \"$0\" \"$@\""});
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int errors[2];
  ASSERT_EQ(pipe(errors), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, errors[0]);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(errors[1]);
  ASSERT_EQ(spawned, 0) << std::strerror(spawned);

  char first = 0;
  const bool showed = read(errors[0], &first, 1) == 1;
  const QStringList pending = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
  if (showed)
    for (const int signal : row.sent) kill(child, signal);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  close(errors[0]);
  ASSERT_TRUE(showed) << "the poster ended before its progress bar showed, status " << status;
  ASSERT_EQ(pending.size(), 1);
  EXPECT_TRUE(pending[0].startsWith("x.png.") && pending[0].endsWith(".part"))
      << pending[0].toStdString();

  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == row.endedBy) << "status " << status;
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList());
}

const Interruption kInterruptions[] = {
    {"interrupt", {SIGINT}, SIGINT},
    {"terminate", {SIGTERM}, SIGTERM},
    {"hangUp", {SIGHUP}, SIGHUP},
    // A hang-up goes by unnoticed, as nohup means it to; the termination after it counts.
    {"hangUpUnderNohup", {SIGHUP, SIGTERM}, SIGTERM, true},
};

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedPoster, testing::ValuesIn(kInterruptions),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
