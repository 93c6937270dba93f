// On a screen with more device pixels per pixel (run with QT_SCALE_FACTOR set):
// designer mode paints its board and the panel's pictures with the screen's
// own pixels, and the classic editor enlarges its 1x board without a blur.

#include <QListWidget>
#include <QSettings>
#include <set>

#include "app/command_table.h"
#include "app/level_set_panel.h"
#include "app/main_frame.h"
#include "app/set_controller.h"
#include "drawing/board_geometry.h"
#include "tests/app/board_view_fixture.h"

namespace {

class ScreenScaleTest : public ::testing::Test {
 protected:
  ScreenScaleTest() { QSettings().clear(); }

  static std::unique_ptr<CMainFrame> Shown(EditorMode mode) {
    auto frame = std::make_unique<CMainFrame>(FixedRandom(), mode);
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame->show();
    return frame;
  }
};

TEST_F(ScreenScaleTest, TheScreenHasMoreDevicePixelsThanPixels) {
  const auto frame = Shown(EditorMode::Classic);
  EXPECT_GT(frame->devicePixelRatioF(), 1.0) << "run with QT_SCALE_FACTOR above 1";
}

// The board shows the frame drawn for the ratio pixel for pixel, also with a
// piece in the hand.
TEST_F(ScreenScaleTest, DesignerBoardIsDrawnWithTheScreensPixels) {
  const auto frame = Shown(EditorMode::Designer);
  CBoardView& view = frame->boardView();
  const BoardScale scale(view.devicePixelRatioF());
  const DrawOptions options{true, scale, ClassicBackground};
  const Rect size = FrameSize(scale);
  QImage shown = ShownBoard(view);
  EXPECT_EQ(shown.size(), QSize(size.width, size.height));
  EXPECT_TRUE(shown == DrawnBoard(options, view.level(), view.editing()));

  const Piece& ball = view.level().balls[0];
  const int n = view.level().boardSize;
  view.document().PointerMoved(SquareOrigin(n, ball.column) + 15, SquareOrigin(n, ball.row) + 15);
  view.document().Clicked(SquareOrigin(n, ball.column) + 15, SquareOrigin(n, ball.row) + 15);
  view.document().PointerMoved(SquareOrigin(n, 1) + 9, SquareOrigin(n, 2) + 20);
  ASSERT_TRUE(IsCarrying(view.editing()));
  shown = ShownBoard(view);
  EXPECT_TRUE(shown == DrawnBoard(options, view.level(), view.editing()));
}

TEST_F(ScreenScaleTest, PanelPicturesHaveTheScreensPixels) {
  const auto frame = Shown(EditorMode::Designer);
  frame->OnCmdMsg(CommandId("ID_SET_ADD"));
  QListWidget* list = frame->sets()->panel()->list();
  ASSERT_EQ(list->count(), 1);
  const qreal ratio = list->devicePixelRatioF();
  // The picture is made at the device size, never enlarged from a smaller one.
  const QSize device = list->iconSize() * ratio;
  EXPECT_TRUE(list->item(0)->icon().availableSizes().contains(device))
      << list->item(0)->icon().availableSizes().size();
  const QPixmap picture = list->item(0)->icon().pixmap(list->iconSize(), ratio);
  EXPECT_EQ(picture.devicePixelRatio(), ratio);
  EXPECT_EQ(picture.size(), device);
}

// The classic board keeps its 1x picture: on the screen every pixel becomes a
// block of the pixel's own colour, never a mixture of two.
TEST_F(ScreenScaleTest, ClassicBoardIsTheOneTimesFrameEnlargedWithoutABlur) {
  const auto frame = Shown(EditorMode::Classic);
  CBoardView& view = frame->boardView();
  const QImage single = DrawnBoard({}, view.level(), view.editing());
  const QImage shown = ShownBoard(view);
  std::set<QRgb> singleColours, shownColours;
  for (int y = 0; y < single.height(); ++y)
    for (int x = 0; x < single.width(); ++x) singleColours.insert(single.pixel(x, y));
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) shownColours.insert(shown.pixel(x, y));
  EXPECT_EQ(shownColours, singleColours);
  const double ratio = view.devicePixelRatioF();
  if (ratio != 2.0) return;
  for (int y = 0; y < single.height(); ++y)
    for (int x = 0; x < single.width(); ++x)
      for (int d = 0; d < 4; ++d)
        ASSERT_EQ(shown.pixel(2 * x + d % 2, 2 * y + d / 2), single.pixel(x, y)) << x << ", " << y;
}

}  // namespace
