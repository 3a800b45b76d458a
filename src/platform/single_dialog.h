// One dialog of a kind for the whole run: its window is loaded on first touch (created,
// running its load steps, without being shown) and unloaded when it closes, while its public
// values, kept outside the window, stay.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include <QDialog>

namespace orvane {

template <typename Window>
class SingleDialog {
 public:
  using Factory = std::function<std::unique_ptr<Window>()>;

  explicit SingleDialog(Factory load) : load_(std::move(load)) {}

  // The window, loaded without being shown if it was not loaded.
  Window& window() {
    if (!window_) window_ = load_();
    return *window_;
  }
  bool loaded() const { return window_ != nullptr; }

  // Shows the window modally; when it has closed, unloads it. True when it closed by OK.
  bool showModal() {
    Window& shown = window();
    showing_ = true;
    const bool accepted = shown.exec() == QDialog::Accepted;
    showing_ = false;
    window_.reset();
    return accepted;
  }

  // Closes and unloads the window, as a close from the title bar would: no handler runs. A
  // window that is not loaded is left alone.
  void unload() {
    if (!window_) return;
    if (showing_) {
      window_->done(QDialog::Rejected);  // showModal unloads it once its loop has returned
    } else {
      window_.reset();
    }
  }

 private:
  Factory load_;
  std::unique_ptr<Window> window_;
  bool showing_ = false;
};

}  // namespace orvane
