// Where output files land: the temporary beside the target, the rename on commit, what a
// failed or abandoned write leaves behind, devices and links. What a signal leaves is tested
// on the real renderer, killed in the middle of a poster.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
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

// A device is written in place (a failure there: see the PNG writer); a symbolic link is written
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

}  // namespace
}  // namespace orvane
