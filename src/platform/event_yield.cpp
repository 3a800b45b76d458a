// The engine's yield on the Qt event loop.
#include "platform/event_yield.h"

#include <QCoreApplication>

#include "platform/picture_box.h"

namespace orvane {

YieldFunction eventLoopYield(PictureBox& picture) {
  return [&picture] {
    picture.publish();
    QCoreApplication::processEvents();
  };
}

}  // namespace orvane
