// The desktop shell's "open" on a web address or a mail link.
#pragma once

#include <QUrl>

namespace orvane {

// Hands `target` to the desktop. Its answer is not looked at: where nothing handles the
// target, nothing visible happens and the window that asked stays as it is.
void openInDesktopShell(const QUrl& target);

}  // namespace orvane
