// Draws the explorer's pictures on a thread of their own.
#include "explore/picture_worker.h"

#include <QMetaObject>

#include <algorithm>
#include <span>

namespace orvane::explore {

namespace {

// The previews' sizes, as fractions of the full one: each comes in a sixty-fourth, a
// sixteenth and a quarter of the full picture's time, so the first shows almost at once.
constexpr int kPreviewDivisors[] = {8, 4, 2};
constexpr int kSmallestPreviewSide = 16;

// Thrown from the drawing's progress once a new view stops it: a reference orbit of millions of
// steps stops within 256 of them, a band of pixels once its points in progress end.
struct Stopped {};

QImage imageOf(PosterSize size) {
  QImage image(size.width, size.height, QImage::Format_RGB32);
  image.fill(Qt::black);
  return image;
}

}  // namespace

PictureWorker::PictureWorker(ComputeOptions options, QObject* parent)
    : QObject(parent), options_(options) {
  options_.stop = &stop_;
  thread_ = std::thread([this] { run(); });
}

PictureWorker::~PictureWorker() {
  {
    const std::lock_guard lock(mutex_);
    quitting_ = true;
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

long PictureWorker::draw(const ViewRequest& view) {
  long generation = 0;
  {
    const std::lock_guard lock(mutex_);
    pending_ = view;
    generation = ++generation_;
    stop_ = true;
  }
  wake_.notify_one();
  return generation;
}

void PictureWorker::run() {
  for (;;) {
    ViewRequest view;
    long generation = 0;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return quitting_ || pending_; });
      if (quitting_) return;
      view = *pending_;
      pending_.reset();
      generation = generation_;
      stop_ = false;
    }
    drawLevels(view, generation);
  }
}

void PictureWorker::drawLevels(const ViewRequest& view, long generation) {
  ReferenceReuse reuse;  // the previews and the full picture share the reference orbits
  std::vector<int> divisors;
  for (const int divisor : kPreviewDivisors)
    if (std::min(view.size.width, view.size.height) / divisor >= kSmallestPreviewSide)
      divisors.push_back(divisor);
  divisors.push_back(1);
  for (const int divisor : divisors) {
    RenderRequest request;
    request.view = view;
    request.view.size = {std::max(1, (view.size.width + divisor - 1) / divisor),
                         std::max(1, (view.size.height + divisor - 1) / divisor)};
    if (divisor > 1) request.view.supersample.reset();
    QImage image = imageOf(request.view.size);
    const auto stopped = [this](double) {
      if (stop_) throw Stopped{};
    };
    RenderedPicture rendered;
    try {
      rendered = renderPicture(
          request, options_,
          [&image](int y, std::span<const Colour> row) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (std::size_t x = 0; x < row.size(); ++x)
              line[x] = qRgb(redOf(row[x]), greenOf(row[x]), blueOf(row[x]));
          },
          stopped, {}, &reuse);
    } catch (const Stopped&) {
      return;
    }
    if (stop_) return;
    DrawnPicture picture{std::move(image), generation, divisor == 1, rendered};
    QMetaObject::invokeMethod(
        this, [this, picture = std::move(picture)] { emit drawn(picture); }, Qt::QueuedConnection);
  }
}

}  // namespace orvane::explore
