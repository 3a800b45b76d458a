// The desktop shell's "open" on a web address or a mail link.
#include "platform/shell_open.h"

#include <QDesktopServices>

namespace orvane {

void openInDesktopShell(const QUrl& target) {
  QDesktopServices::openUrl(target);
}

}  // namespace orvane
