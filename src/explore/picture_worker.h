// Draws the explorer's pictures on a thread of their own: each view first as coarse previews,
// then in full, and any new view stops the one under way at once.
#pragma once

#include <QImage>
#include <QObject>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "render/render_picture.h"

namespace orvane::explore {

// One picture handed back: a preview or the full one, of the view drawn `generation`.
struct DrawnPicture {
  QImage image;
  long generation = 0;
  bool full = false;
  RenderedPicture rendered;  // the full picture's view, mode and statistics
};

class PictureWorker : public QObject {
  Q_OBJECT

 public:
  explicit PictureWorker(ComputeOptions options, QObject* parent = nullptr);
  ~PictureWorker() override;
  PictureWorker(const PictureWorker&) = delete;
  PictureWorker& operator=(const PictureWorker&) = delete;

  // Starts drawing `view` (its size in device pixels), stopping any drawing under way; the
  // pictures come back through `drawn` with this call's generation.
  long draw(const ViewRequest& view);

 signals:
  void drawn(const orvane::explore::DrawnPicture& picture);

 private:
  void run();
  void drawLevels(const ViewRequest& view, long generation);

  ComputeOptions options_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<ViewRequest> pending_;
  long generation_ = 0;
  bool quitting_ = false;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace orvane::explore
