// The position dialog as a user meets it: a box opened with text is replaced by what is typed,
// and a number too large to use is refused with a hint that says so.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "control/position_dialog.h"
#include "platform/dialog_window.h"

namespace orvane {
namespace {

TEST(PositionDialog, OpensWithTheFirstBoxSelectedAndNamesATooLargeNumber) {
  PositionValues values{4, -0.5, 0, 0, 1};
  PositionDialog dialog(values);
  dialog.setTexts({"10", "-0.5", "0", "0"});
  dialog.show();
  QTest::keyClicks(dialog.txtZoom, "1e999");
  EXPECT_EQ(dialog.txtZoom->text(), "1e999");  // typed over, not appended

  QTest::keyClick(dialog.txtZoom, Qt::Key_Return);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(values.numzoom, 4);
  bool hinted = false;
  for (const QLabel* label : dialog.findChildren<QLabel*>())
    hinted |= label->isVisible() && label->text() == kTooLargeHint;
  EXPECT_TRUE(hinted);
}

}  // namespace
}  // namespace orvane
