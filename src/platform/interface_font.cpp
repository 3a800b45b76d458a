// The font of every window: "宋体" 9 pt, falling back to an installed Chinese font.
#include "platform/interface_font.h"

#include <QStringList>

namespace orvane {

QFont interfaceFont() {
  QFont font;
  font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"),
                    QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("Noto Sans CJK")});
  font.setPointSize(9);
  return font;
}

}  // namespace orvane
