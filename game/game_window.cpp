#include "game/game_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "view/board_geometry.h"
#include "view/editing_state.h"

namespace {

const QColor Background(128, 128, 128);  // the board view's own background
const QColor Ink(255, 255, 255);
const QColor SolvedInk(0, 255, 0);
const QColor NoticeInk(255, 255, 192);
constexpr int StatusMargin = 12;

constexpr const char* KeyHelp =
    "Arrows or W A S D: tilt    Ctrl+Z or Backspace: undo\n"
    "R: restart    H: hint    N: new level    Esc: quit";

/// Colour, size and weight of a status line, relative to the window's font.
void SetLook(QLabel* label, QColor ink, int pointSizeChange, bool bold) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ink);
  label->setPalette(palette);
  QFont font = label->parentWidget() ? label->parentWidget()->font() : QFont();
  font.setPointSize(font.pointSize() + pointSizeChange);
  font.setBold(bold);
  label->setFont(font);
}

QLabel* AddLine(QWidget* window, QVBoxLayout* layout, const char* name, QColor ink,
                int pointSizeChange = 0, bool bold = false) {
  auto* label = new QLabel(window);
  label->setObjectName(name);
  SetLook(label, ink, pointSizeChange, bold);
  label->setFixedWidth(ViewWidth - 2 * StatusMargin);
  label->setWordWrap(true);
  layout->addWidget(label);
  return label;
}

std::optional<Direction> TiltOfKey(int key) {
  switch (key) {
    case Qt::Key_Up: case Qt::Key_W: return Direction::North;
    case Qt::Key_Down: case Qt::Key_S: return Direction::South;
    case Qt::Key_Left: case Qt::Key_A: return Direction::West;
    case Qt::Key_Right: case Qt::Key_D: return Direction::East;
    default: return std::nullopt;
  }
}

}  // namespace

CGameWindow::CGameWindow(GameStart start, RandomSource random, QWidget* parent)
    : QWidget(parent),
      m_game(std::move(start.level)),
      m_random(std::move(random)),
      m_notice(QString::fromStdString(start.notice)) {
  setWindowTitle(start.editorLevel ? EditorTestTitle : GameTitle);
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Background);
  setPalette(palette);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  m_board = new QLabel;
  m_board->setObjectName("board");
  layout->addWidget(m_board);

  auto* status = new QVBoxLayout;
  status->setContentsMargins(StatusMargin, 4, StatusMargin, 10);
  status->setSpacing(3);
  layout->addLayout(status);
  m_moves = AddLine(this, status, "moves", Ink, 2, true);
  m_remaining = AddLine(this, status, "remaining", Ink);
  m_thirdLine = AddLine(this, status, "third", Ink, 1, true);
  // The hint, or the shortest possible count at the end; it keeps its height
  // while empty, so the window does not jump.
  m_thirdLine->setMinimumHeight(m_thirdLine->fontMetrics().height());
  m_noticeLabel = AddLine(this, status, "notice", NoticeInk);
  AddLine(this, status, "keys", Ink, -1)->setText(KeyHelp);
  ShowState();
}

void CGameWindow::keyPressEvent(QKeyEvent* event) {
  if (HandleKey(event->key(), event->modifiers() & ~Qt::KeypadModifier)) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool CGameWindow::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
  if (modifiers == Qt::ControlModifier && key == Qt::Key_Z) {
    m_game.Undo();
  } else if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier) {
    return false;
  } else if (const std::optional<Direction> tilt = TiltOfKey(key)) {
    m_game.Tilt(*tilt);
  } else if (key == Qt::Key_Backspace) {
    m_game.Undo();
  } else if (key == Qt::Key_R) {
    m_game.Restart();
  } else if (key == Qt::Key_H) {
    m_game.ShowHint();
  } else if (key == Qt::Key_N) {
    NewRandomLevel();
  } else if (key == Qt::Key_Escape) {
    close();
    return true;
  } else {
    return false;
  }
  ShowState();
  return true;
}

// A new level is no longer the one the editor passed, nor the unreadable one a
// notice spoke of: the title and the notice go back to plain.
void CGameWindow::NewRandomLevel() {
  m_game.Replace(RandomSolvableLevel(m_game.level().boardSize, m_random));
  m_notice.clear();
  setWindowTitle(GameTitle);
}

void CGameWindow::ShowState() {
  const Level& level = m_game.level();
  // The editor's frame without its lamp and label (the game shows its own
  // status), and without the margin above smaller boards, so every board
  // stands as close below the title as the 7 x 7 one.
  const int n = level.boardSize;
  const QImage frame = m_renderer.DrawFrame(level);
  m_board->setPixmap(QPixmap::fromImage(frame.copy(0, BoardOffset(n), ViewWidth, StatusTop(n) - BoardOffset(n))));

  // The second line becomes the solved line at the end, and then stands out.
  const std::vector<std::string> lines = StatusLines(m_game);
  m_moves->setText(QString::fromStdString(lines[0]));
  m_remaining->setText(QString::fromStdString(lines[1]));
  SetLook(m_remaining, m_game.IsSolved() ? SolvedInk : Ink, m_game.IsSolved() ? 2 : 0, m_game.IsSolved());
  m_thirdLine->setText(lines.size() > 2 ? QString::fromStdString(lines[2]) : QString());
  m_noticeLabel->setText(m_notice);
  m_noticeLabel->setVisible(!m_notice.isEmpty());
}
