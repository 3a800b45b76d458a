// main() for widget tests: a QApplication on the offscreen platform, then every GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/interface_font.h"

int main(int argc, char* argv[]) {
  // Widget tests need no screen; a display set for the end-to-end tests must not be used.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  QApplication::setFont(orvane::interfaceFont());
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
