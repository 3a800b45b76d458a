// orvane-render's command line: the input split at NUL bytes into arguments after the
// program name. The result is exactly one of a request, --info, an error or the help text; a
// request holds only values the options allow, applying it to a fresh state is safe, and
// --info prints what the picture keeps.
//
// --from reads the view kept in a PNG. A private directory holds pictures to read, and an
// "@" in an argument stands for that directory: @view.png keeps a view, @plain.png keeps
// none, @damaged.png keeps a foreign option. An input that starts with "view:" keeps its
// first argument as the view of @fuzzed.png instead of being parsed with it.
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/render_pass.h"
#include "engine/supersample.h"
#include "fuzz_support.h"
#include "png/output_file.h"
#include "png/png_file.h"
#include "render/command_line.h"
#include "render/picture_info.h"
#include "render/render_request.h"
#include "render/view_chunk.h"

namespace {

using orvane::fuzz::check;

// Arguments reach the program in the locale's encoding, UTF-8 here.
QStringList split(const char* text, std::size_t size) {
  QStringList parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= size; ++i) {
    if (i == size || text[i] == '\0') {
      parts << QString::fromUtf8(text + start, static_cast<qsizetype>(i - start));
      start = i + 1;
    }
  }
  return parts;
}

// A tiny picture that keeps `view` the way orvane-render keeps it (or no view when empty).
void writePicture(const QString& name, const std::string& view) {
  const std::string path = QFile::encodeName(name).toStdString();
  orvane::OutputFile output(path);
  orvane::PngWriter picture(output.stream(), path, 1, 1);
  if (!view.empty()) picture.addText(orvane::kViewChunkKey, view);
  const orvane::Colour black = 0;
  picture.row(0, {&black, 1});
  check(picture.finish() && output.commit(), "cannot write a picture into the private directory");
}

// Removed at exit with its pictures; a crash leaves it behind for a look.
QTemporaryDir& privateDirectory() {
  static QTemporaryDir directory;
  return directory;
}

QString privatePath(const QString& name) {
  return privateDirectory().filePath(name);
}

void makePictures() {
  check(privateDirectory().isValid(), "cannot make a private directory");
  orvane::ExplorerState state;
  orvane::DialogValues dialogs;
  orvane::ViewRequest view;
  view.drawing = orvane::formula::kJulia;
  view.components = {*orvane::deep::ViewNumber::read("-0.8"),
                     *orvane::deep::ViewNumber::read("0.156")};
  view.gridChoice = orvane::kLineMode;
  orvane::applyViewRequest(view, state, dialogs);
  // The pass's preparation fills in the defaults the view is written with.
  orvane::preparePass(state, dialogs);
  writePicture(privatePath(QStringLiteral("view.png")),
               orvane::viewChunkText(orvane::drawnView(view, state, dialogs)));
  writePicture(privatePath(QStringLiteral("plain.png")), {});
  writePicture(privatePath(QStringLiteral("damaged.png")), "--zoom=2 --from=view.png");
}

bool within(std::optional<std::int16_t> value, int low, int high) {
  return !value || (*value >= low && *value <= high);
}

void checkRequest(const orvane::RenderRequest& r) {
  const orvane::ViewRequest& v = r.view;
  check(!r.output.empty() || r.video, "a request without an output file");
  check(!v.components || (std::isfinite(v.components->first.nearest()) &&
                          std::isfinite(v.components->second.nearest())),
        "components not finite");
  check((!v.depth || *v.depth >= 1) && within(v.escape, 1, 32767), "depth or escape out of range");
  check(within(v.inner, 0, 10) && within(v.outer, 0, 10), "a rendering level out of range");
  check(!v.jitter || (v.jitter->first >= 0 && v.jitter->first <= 100 && v.jitter->second >= 0 &&
                      v.jitter->second <= 100),
        "a jitter factor out of range");
  check(!v.gridChoice || *v.gridChoice == orvane::kLineMode ||
            (*v.gridChoice >= 2 && *v.gridChoice <= orvane::kMaxGridSide),
        "a grid choice the menus do not offer");
  check(v.size.width >= 1 && v.size.height >= 1 && v.size.width <= orvane::kMaxPosterSide &&
            v.size.height <= orvane::kMaxPosterSide,
        "a size out of range");
  check(r.threads >= 0 && r.threads <= 1024, "a thread count out of range");
  if (r.video && r.video->frames) {
    const std::vector<long>& frames = *r.video->frames;
    check(!frames.empty() && frames.front() >= 0 && frames.back() < r.video->frameCount &&
              std::is_sorted(frames.begin(), frames.end()) &&
              std::adjacent_find(frames.begin(), frames.end()) == frames.end(),
          "frames out of order, repeated or past the video's");
  }
  check(!v.supersample || (*v.supersample >= 1 && *v.supersample <= orvane::kMaxSupersample),
        "a supersampling out of range");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  orvane::fuzz::quietQt();
  // The help text names the program from the application object, as in orvane-render. It
  // lives as long as the process: taking it down at exit would race Qt's own teardown.
  static QCoreApplication* const application = new QCoreApplication(*argc, *argv);
  (void)application;
  makePictures();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto* text = reinterpret_cast<const char*>(data);
  static constexpr char kViewPrefix[] = "view:";
  constexpr std::size_t kPrefixLength = sizeof kViewPrefix - 1;
  QStringList arguments;
  if (size >= kPrefixLength && std::memcmp(text, kViewPrefix, kPrefixLength) == 0) {
    const char* view = text + kPrefixLength;
    const std::size_t viewLength = strnlen(view, size - kPrefixLength);
    writePicture(privatePath(QStringLiteral("fuzzed.png")), std::string(view, viewLength));
    const std::size_t rest = kPrefixLength + viewLength + 1;
    if (rest < size) arguments = split(text + rest, size - rest);
  } else {
    arguments = split(text, size);
  }
  // --from reads only the pictures of the private directory: a path elsewhere could name a
  // device that blocks on reading (a terminal, a pipe), which is not the parser's doing.
  const QString directory = privateDirectory().path() + u'/';
  for (QString& argument : arguments) {
    if (argument.contains(u'/')) return 0;
    argument.replace(u'@', directory);
  }
  arguments.prepend(QStringLiteral("orvane-render"));

  const orvane::ParsedCommandLine parsed = orvane::parseRenderCommandLine(arguments);
  const int outcomes = int{parsed.request.has_value()} + int{parsed.info.has_value()} +
                       int{!parsed.error.empty()} + int{!parsed.help.empty()};
  check(outcomes == 1, "not exactly one of a request, --info, an error and the help text");
  if (parsed.info) check(!orvane::pictureInfo(*parsed.info).empty(), "--info printed nothing");
  if (parsed.request) {
    checkRequest(*parsed.request);
    orvane::ExplorerState state;
    orvane::DialogValues dialogs;
    orvane::applyViewRequest(parsed.request->view, state, dialogs);
  }
  return 0;
}
