// Where output files land: the temporary beside the target, the rename on commit, what a
// failed or abandoned write leaves behind, devices, links, and several files pending at once
// when a signal ends the process.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "png/output_file.h"
#include "png/png_file.h"

namespace orvane {
namespace {

std::string pathIn(const QTemporaryDir& dir, const char* name) {
  return QFile::encodeName(dir.filePath(name)).toStdString();
}

QStringList filesIn(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

QByteArray contentOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// The name cluster runs on a shared folder can tell apart: host, then process.
QString temporaryPattern(const char* target) {
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  return QStringLiteral("%1.%2-%3-*.part").arg(target, host).arg(getpid());
}

// Until the commit the file is a temporary of its own beside the target; then it has the
// final name, and nothing else is left.
TEST(Placing, TemporaryBesideTheTargetUntilTheCommit) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  OutputFile file(pathIn(dir, "out.png"));
  ASSERT_TRUE(file.error().empty()) << file.error();
  ASSERT_NE(file.stream(), nullptr);
  std::fputs("picture", file.stream());
  const QStringList pending = filesIn(dir);
  ASSERT_EQ(pending.size(), 1);
  EXPECT_TRUE(QDir::match(temporaryPattern("out.png"), pending[0])) << pending[0].toStdString();
  EXPECT_EQ(QFile::encodeName(dir.filePath(pending[0])).toStdString(), file.writePath());
  ASSERT_TRUE(file.commit()) << file.error();
  EXPECT_EQ(filesIn(dir), QStringList{"out.png"});
  EXPECT_EQ(contentOf(dir.filePath("out.png")), "picture");
  EXPECT_FALSE(file.commit());  // once only
}

// FFmpeg opens the file by its name: the temporary is made for it, and renamed all the same.
TEST(Placing, AWriterThatOpensByNameGetsTheTemporary) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  OutputFile file(pathIn(dir, "v.mp4"), OutputFile::Opening::byName);
  ASSERT_TRUE(file.error().empty()) << file.error();
  EXPECT_EQ(file.stream(), nullptr);
  QFile own(QFile::decodeName(file.writePath().c_str()));
  ASSERT_TRUE(own.exists());
  ASSERT_TRUE(own.open(QIODevice::WriteOnly | QIODevice::Truncate));
  own.write("video");
  own.close();
  ASSERT_TRUE(file.commit()) << file.error();
  EXPECT_EQ(filesIn(dir), QStringList{"v.mp4"});
  EXPECT_EQ(contentOf(dir.filePath("v.mp4")), "video");
}

// An abandoned file and a write that fails on the way leave nothing; a file that was there
// keeps its content.
TEST(Placing, FailedOrAbandonedWritesLeaveNothing) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  {
    OutputFile abandoned(pathIn(dir, "out.png"));
    std::fputs("half a picture", abandoned.stream());
  }
  EXPECT_TRUE(filesIn(dir).isEmpty());

  QFile before(dir.filePath("out.png"));
  ASSERT_TRUE(before.open(QIODevice::WriteOnly));
  before.write("kept");
  before.close();
  // The disk fills up halfway through the picture: the file may grow to 4000 bytes only.
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit small{4000, limit.rlim_max};
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool finished = true;
  std::string error;
  {
    OutputFile output(pathIn(dir, "out.png"));
    PngWriter writer(output.stream(), pathIn(dir, "out.png"), 300, 200, 2);
    std::vector<Colour> row(300);
    for (int y = 0; y < 200; ++y) {
      for (int x = 0; x < 300; ++x)
        row[static_cast<std::size_t>(x)] = static_cast<Colour>(x * 40503 ^ y) & 0xFFFFFF;
      writer.row(y, row);
    }
    finished = writer.finish() && output.commit();
    error = writer.error() + output.error();
  }
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(finished);
  EXPECT_NE(error.find("File too large"), std::string::npos) << error;
  EXPECT_EQ(filesIn(dir), QStringList{"out.png"});
  EXPECT_EQ(contentOf(dir.filePath("out.png")), "kept");
}

// A place where no file can be made is reported at once, naming it.
TEST(Placing, MissingFolderIsReportedAtOnce) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const OutputFile::Opening opening :
       {OutputFile::Opening::stream, OutputFile::Opening::byName}) {
    OutputFile file(pathIn(dir, "missing/out.png"), opening);
    EXPECT_EQ(file.error(),
              "cannot write '" + pathIn(dir, "missing/out.png") + "': No such file or directory");
    EXPECT_EQ(file.stream(), nullptr);
    EXPECT_TRUE(file.writePath().empty());
    EXPECT_FALSE(file.commit());
  }
  OutputFile folder(pathIn(dir, "."));
  EXPECT_NE(folder.error().find("Is a directory"), std::string::npos) << folder.error();
  EXPECT_TRUE(filesIn(dir).isEmpty());
}

// A device is written in place and a failure there is reported; a symbolic link is written
// through: the link stays, the file it names (made if missing) gets the content.
TEST(Placing, DevicesAndLinksStayWhatTheyAre) {
  {
    OutputFile null("/dev/null");
    ASSERT_NE(null.stream(), nullptr) << null.error();
    EXPECT_EQ(null.writePath(), "/dev/null");
    std::fputs("picture", null.stream());
    EXPECT_TRUE(null.commit()) << null.error();
  }
  EXPECT_TRUE(QFileInfo("/dev/null").exists() && !QFileInfo("/dev/null").isFile());
  {
    OutputFile full("/dev/full");
    ASSERT_NE(full.stream(), nullptr) << full.error();
    std::fputs("picture", full.stream());
    EXPECT_FALSE(full.commit());
    EXPECT_EQ(full.error(), "cannot write '/dev/full': No space left on device");
  }

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char* name : {"existing.png", "missing.png"}) {
    if (name == std::string("existing.png")) {
      QFile existing(dir.filePath(name));
      ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QFile::link(name, dir.filePath("link.png")));
    {
      OutputFile file(pathIn(dir, "link.png"));
      ASSERT_NE(file.stream(), nullptr) << file.error();
      std::fputs(name, file.stream());
      ASSERT_TRUE(file.commit()) << file.error();
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("link.png")).isSymLink()) << name;
    EXPECT_EQ(contentOf(dir.filePath(name)), name);
    ASSERT_TRUE(QFile::remove(dir.filePath("link.png")));
  }
}

// A signal that ends the process removes every file still pending, a frame's and a video's
// at once, and leaves the committed ones; the process ends by that signal.
TEST(Placing, ASignalRemovesEveryPendingFile) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string keptPath = pathIn(dir, "kept.png");
    const std::string videoPath = pathIn(dir, "v.mp4");
    const std::string framePath = pathIn(dir, "frame-000001.png");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // No test machinery in here: the child only makes files and signals itself.
      OutputFile kept(keptPath);
      std::fputs("kept", kept.stream());
      OutputFile video(videoPath, OutputFile::Opening::byName);
      OutputFile frame(framePath);
      std::fputs("frame", frame.stream());
      std::fflush(frame.stream());
      if (kept.commit()) std::raise(signal);
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
        << strsignal(signal) << ": status " << status;
    EXPECT_EQ(filesIn(dir), QStringList{"kept.png"}) << strsignal(signal);
  }
}

}  // namespace
}  // namespace orvane
