// Thousands of seeded random pointer events and commands sent to the board
// view; after each one the level and the hover state must still be sound.

#include <QDesktopServices>
#include <QUrl>
#include <random>

#include "app/command_table.h"
#include "drawing/board_geometry.h"
#include "editing/pointer_editing.h"
#include "tests/app/board_view_fixture.h"

namespace {

/// Swallows the addresses the web commands open.
class NoBrowser : public QObject {
  Q_OBJECT
 public:
  NoBrowser() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open"); }
  ~NoBrowser() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
 public slots:
  void open(const QUrl&) {}
};

/// Every command but the two dialogs and Exit.
constexpr int RandomCommands[] = {
    CommandId("ID_GAME_3X3"),       CommandId("ID_GAME_5X5"),     CommandId("ID_GAME_7X7"),
    CommandId("ID_EDIT_CLEARMAZE"), CommandId("ID_EDIT_RANDOM"),  CommandId("ID_GAME_TEST"),
    CommandId("ID_EDIT_YFLIP"),     CommandId("ID_EDIT_XFLIP"),   CommandId("ID_EDIT_ROTATE"),
    CommandId("ID_SOLUTION_STEP"),  CommandId("ID_EDIT_GETHTML"), CommandId("ID_HELP_HOMEPAGE"),
    CommandId("ID_MAKER_SITE")};

class EditingRobustnessTest : public BoardViewFixture {
 protected:
  /// A point mostly on the board, sometimes anywhere in the view or beyond it.
  QPoint RandomPoint() {
    std::uniform_int_distribution<int> onBoard(0, 330);
    std::uniform_int_distribution<int> beyond(-20, 380);
    if (Draw(10) == 0) return {beyond(random), beyond(random)};
    return {onBoard(random), onBoard(random)};
  }
  int Draw(int choices) { return std::uniform_int_distribution<int>(0, choices - 1)(random); }

  void SendRandomEvent() {
    const QPoint point = RandomPoint();
    switch (Draw(10)) {
      case 0:
      case 1:
      case 2:
      case 3: MoveTo(point.x(), point.y()); break;
      case 4:
      case 5:
      case 6: Click(point.x(), point.y()); break;
      case 7: DoubleClick(point.x(), point.y()); break;
      case 8:
      case 9: RunCommand(RandomCommands[Draw(std::size(RandomCommands))]); break;
    }
  }

  void ExpectSound(int event) {
    const Level& level = view.level();
    const EditingState& editing = view.editing();
    ASSERT_TRUE(LevelIsConsistent(level)) << "after event " << event;
    ASSERT_EQ(level.cells.size(), static_cast<std::size_t>(level.boardSize * level.boardSize));
    ASSERT_TRUE(HoverLiesOnBoard(editing, level.boardSize)) << "after event " << event;
    ASSERT_TRUE(editing.CarriedItem >= CarriedPiece::Nothing &&
                editing.CarriedItem <= CarriedPiece::RedHole);
    if (IsCarrying(editing)) {
      ASSERT_EQ(editing.HoverKind, WallKind::None);
    }
  }

  std::mt19937 random{20261210};
  NoBrowser browser;
};

TEST_F(EditingRobustnessTest, LevelAndHoverStaySoundUnderRandomInput) {
  constexpr int Events = 4000;
  for (int event = 0; event < Events; ++event) {
    SendRandomEvent();
    ExpectSound(event);
    if (HasFatalFailure()) return;
    if (event % 8 == 0) view.grab();  // draw the frame from this state as well
  }
}

}  // namespace

#include "editing_robustness_test.moc"
