// The views the explorer has shown, to go back and forward through as a browser does.
#pragma once

#include <cstddef>
#include <vector>

#include "render/render_request.h"

namespace orvane::explore {

class ViewHistory {
 public:
  explicit ViewHistory(ViewRequest first) : views_{std::move(first)} {}

  const ViewRequest& current() const { return views_[at_]; }

  // A new view: the views ahead of the current one are dropped, as a browser drops them, and
  // past kKept views the oldest: a deep view's centre may hold a million digits.
  void go(ViewRequest view) {
    views_.resize(at_ + 1);
    views_.push_back(std::move(view));
    if (views_.size() > kKept) views_.erase(views_.begin());
    at_ = views_.size() - 1;
  }
  // The current view changed in place, such as a new size for a resized window.
  void replace(ViewRequest view) { views_[at_] = std::move(view); }

  bool canGoBack() const { return at_ > 0; }
  bool canGoForward() const { return at_ + 1 < views_.size(); }
  void back() {
    if (canGoBack()) --at_;
  }
  void forward() {
    if (canGoForward()) ++at_;
  }

 private:
  static constexpr std::size_t kKept = 256;
  std::vector<ViewRequest> views_;
  std::size_t at_ = 0;
};

}  // namespace orvane::explore
