#include "game/game_window.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QSettings>
#include <QStringList>
#include <QVBoxLayout>

#include "drawing/board_geometry.h"
#include "game/attempt_reporter.h"
#include "game/game_wording.h"
#include "game/level_picker.h"
#include "game/set_chooser.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "play/board_reading.h"
#include "play/endless_play.h"
#include "play/game_keys.h"
#include "play/set_start.h"
#include "view/board_description.h"
#include "view/program_icon.h"
#include "view/status_accessible.h"

namespace {

// A dark grey behind the board and the lines, so that every line's ink stands
// out from it by a contrast of at least 4.5 to 1.
constexpr Rgb BackgroundRgb = MakeRgb(64, 64, 64);
const QColor Background = QColor::fromRgb(BackgroundRgb);
const QColor Ink(255, 255, 255);
const QColor SolvedInk(0, 255, 0);
const QColor NoticeInk(255, 255, 192);
constexpr int StatusMargin = 12;

constexpr const char* KeyHelp =
    QT_TRANSLATE_NOOP("Game",
                      "Arrows or W A S D: tilt    Ctrl+Z or Backspace: undo\n"
                      "R: restart    H: hint    N: new level    Esc: quit\n"
                      "E: endless play (size and grade)    C: colour shapes on the pieces\n"
                      "Ctrl+Arrows: read a square's walls    T: what each tilt does");
// A set plays its own levels: no N. Enter acts once the level is solved, as
// the line that offers the next level says.
constexpr const char* SetKeyHelp =
    QT_TRANSLATE_NOOP("Game",
                      "Arrows or W A S D: tilt    Ctrl+Z or Backspace: undo\n"
                      "R: restart    H: hint    Enter: next level    Esc: quit\n"
                      "Page Up, Page Down: previous, next level    L: levels\n"
                      "O: open set    E: endless play    C: colour shapes on the pieces\n"
                      "Ctrl+Arrows: read a square's walls    T: what each tilt does");

/// A text marked with QT_TRANSLATE_NOOP in the context "Game".
QString Translated(const char* text) { return QCoreApplication::translate("Game", text); }

QString WindowTitle(const SetPlay* set, bool editorLevel) {
  if (set != nullptr) {
    return QCoreApplication::translate("Game", "Korvalo - %1")
        .arg(QString::fromStdString(set->set().title));
  }
  return Translated(editorLevel ? EditorTestTitle : GameTitle);
}

QStringList Worded(const std::vector<GameText>& texts) {
  QStringList lines;
  for (const GameText& text : texts) lines << GameWording(text);
  return lines;
}

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
  label->setTextFormat(Qt::PlainText);  // titles and quoted texts are never markup
  SetLook(label, ink, pointSizeChange, bold);
  label->setFixedWidth(ViewWidth - 2 * StatusMargin);
  label->setWordWrap(true);
  layout->addWidget(label);
  return label;
}

/// A line under the board whose every change a screen reader hears.
QLabel* AddStatusLine(QWidget* window, QVBoxLayout* layout, const char* name, QColor ink,
                      int pointSizeChange = 0, bool bold = false) {
  QLabel* label = AddLine(window, layout, name, ink, pointSizeChange, bold);
  MakeStatusLine(label);
  return label;
}

bool IsReading(GameAction action) {
  switch (action) {
    case GameAction::ReadNorth:
    case GameAction::ReadSouth:
    case GameAction::ReadWest:
    case GameAction::ReadEast:
    case GameAction::ReadTilts: return true;
    default: return false;
  }
}

/// Height of the board area the game shows for an N x N board: the frame
/// without its lamp and label, and without the margin above smaller boards.
int BoardAreaHeight(int n) { return StatusTop(n) - BoardOffset(n); }

QString Joined(const QString& first, const QString& second) {
  return first.isEmpty() || second.isEmpty() ? first + second : first + "\n" + second;
}

/// The key's name as the game's table of keys (play/game_keys.h) names it;
/// empty for a key the table cannot hold.
std::string KeyName(int key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z)
    return std::string(1, static_cast<char>('a' + key - Qt::Key_A));
  switch (key) {
    case Qt::Key_Up: return "ArrowUp";
    case Qt::Key_Down: return "ArrowDown";
    case Qt::Key_Left: return "ArrowLeft";
    case Qt::Key_Right: return "ArrowRight";
    case Qt::Key_Backspace: return "Backspace";
    case Qt::Key_Escape: return "Escape";
    case Qt::Key_Return:
    case Qt::Key_Enter: return "Enter";
    case Qt::Key_PageUp: return "PageUp";
    case Qt::Key_PageDown: return "PageDown";
    default: return {};
  }
}

}  // namespace

CGameWindow::CGameWindow(GameStart start, RandomSource random, GradeParameters grading,
                         QWidget* parent)
    : QWidget(parent),
      m_game(std::move(start.level)),
      m_set(std::move(start.set)),
      m_random(std::move(random)),
      m_grading(grading),
      m_pieceSymbols(QSettings().value(PieceSymbolsKey, true).toBool()),
      m_notice(GameWording(start.notice, QStringLiteral(" "))) {
  setWindowTitle(WindowTitle(set(), start.editorLevel));
  setWindowIcon(KorvaloIcon());
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(QStringLiteral("Korvalo"));
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Background);
  setPalette(palette);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  if (m_set) {
    auto* heading = new QVBoxLayout;
    heading->setContentsMargins(StatusMargin, 8, StatusMargin, 4);
    heading->setSpacing(3);
    layout->addLayout(heading);
    m_setLevel = AddStatusLine(this, heading, "setLevel", Ink, 2, true);
    m_setProgress = AddStatusLine(this, heading, "setProgress", Ink);
    // Room for two lines, as a longer language wraps it once it counts a record.
    m_setProgress->setMinimumHeight(2 * m_setProgress->fontMetrics().lineSpacing());
  }
  m_board = new QLabel;
  m_board->setObjectName("board");
  m_board->setAccessibleName(QCoreApplication::translate("Game", "Board"));
  if (m_set) {
    // Every level of the set stands in an area as high as its largest board,
    // so the window keeps its size from one level to the next. A code starts
    // with its board size.
    int largest = 3;
    for (const SetLevelEntry& entry : m_set->set().levels) {
      largest = std::max(largest, entry.code.front() - '0');
    }
    m_board->setFixedHeight(BoardAreaHeight(largest));
    m_board->setAlignment(Qt::AlignCenter);
  }
  layout->addWidget(m_board);

  auto* status = new QVBoxLayout;
  status->setContentsMargins(StatusMargin, 4, StatusMargin, 10);
  status->setSpacing(3);
  layout->addLayout(status);
  m_moves = AddStatusLine(this, status, "moves", Ink, 2, true);
  m_remaining = AddStatusLine(this, status, "remaining", Ink);
  // The line becomes the larger solved line at the end: its room is kept
  // from the start, so the window does not grow when a level is solved.
  SetLook(m_remaining, SolvedInk, 2, true);
  m_remaining->setMinimumHeight(m_remaining->fontMetrics().height());
  m_thirdLine = AddStatusLine(this, status, "third", Ink, 1, true);
  // The hint, or the shortest possible count at the end; it keeps its height
  // while empty, so the window does not jump.
  m_thirdLine->setMinimumHeight(m_thirdLine->fontMetrics().height());
  if (m_set) {
    m_offer = AddStatusLine(this, status, "offer", SolvedInk, 1, true);
    m_offer->setMinimumHeight(m_offer->fontMetrics().height());
  }
  m_noticeLabel = AddStatusLine(this, status, "notice", NoticeInk);
  // In a set the notice keeps room for the notice of a level without solution,
  // so the window keeps its size from one level to the next.
  if (m_set) {
    m_noticeLabel->setMinimumHeight(2 * m_noticeLabel->fontMetrics().lineSpacing());
    QSizePolicy keepsRoom = m_noticeLabel->sizePolicy();
    keepsRoom.setRetainSizeWhenHidden(true);
    m_noticeLabel->setSizePolicy(keepsRoom);
  }
  m_keys = AddLine(this, status, "keys", Ink, -1);
  m_keys->setText(Translated(m_set ? SetKeyHelp : KeyHelp));
  m_attempts = new CAttemptReporter(this, start.editorLevel);
  if (m_set) {
    m_set->Observe(m_game);  // a level may stand solved from the start
    m_campaign.chapters.push_back({std::string(), m_set->set()});
    m_progress = m_set->progress();
  }
  ShowState();
}

void CGameWindow::UseCampaign(Campaign campaign, int chapter) {
  m_campaign = std::move(campaign);
  m_chapter = chapter;
  // Chapters of every size follow one another: the board's area is the
  // largest board's all along, so the window keeps its size.
  m_board->setFixedHeight(BoardAreaHeight(7));
  m_board->setAlignment(Qt::AlignCenter);
  RememberPlace();
  ShowState();
}

void CGameWindow::ShowPicker() {
  if (!m_progress) return;
  const CampaignPlace place =
      m_set ? CampaignPlace{m_chapter, m_set->Index()} : ResumePlace(m_campaign, *m_progress);
  CLevelPicker picker(m_campaign, *m_progress, place, this);
  if (picker.exec() != QDialog::Accepted) return;
  GoToPlace(picker.Chosen());
  ShowState();
}

void CGameWindow::GoToPlace(CampaignPlace place) {
  if (!m_set || place.chapter != m_chapter) {
    m_set.emplace(m_campaign.chapters[static_cast<std::size_t>(place.chapter)].set, m_progress);
    m_endless.reset();
    m_endlessCode.clear();
    ShowSetLines(true);
    m_chapter = place.chapter;
    setWindowTitle(WindowTitle(set(), false));
    m_game.Replace(m_set->CurrentLevel());
    m_notice.clear();
  }
  GoToSetLevel(place.level);
  RememberPlace();
}

bool CGameWindow::GoToNextChapter() {
  const int next = m_chapter + 1;
  if (next >= static_cast<int>(m_campaign.chapters.size())) return false;
  const PlayableSet& set = m_campaign.chapters[static_cast<std::size_t>(next)].set;
  int level = 0;
  while (level + 1 < static_cast<int>(set.levels.size()) &&
         m_set->progress()->FewestMoves(set.levels[static_cast<std::size_t>(level)].canonicalCode))
    ++level;
  GoToPlace({next, level});
  return true;
}

void CGameWindow::RememberPlace() {
  if (m_set) m_set->progress()->SetLastPlayed(m_set->Current().canonicalCode);
}

void CGameWindow::keyPressEvent(QKeyEvent* event) {
  if (HandleKey(event->key(), event->modifiers() & ~Qt::KeypadModifier)) {
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool CGameWindow::HandleKey(int key, Qt::KeyboardModifiers modifiers) {
  // Shift changes nothing; Ctrl is part of the key; any other modifier leaves the key alone.
  const Qt::KeyboardModifiers control = modifiers & ~Qt::ShiftModifier;
  if (control != Qt::NoModifier && control != Qt::ControlModifier) return false;
  const std::optional<GameAction> action =
      ActionOfKey(KeyName(key), control == Qt::ControlModifier);
  if (!action) return false;
  // What was read stays until the player does anything else.
  if (!IsReading(*action)) m_reading.clear();
  const GameState before = m_game;
  if (!Act(*action)) return false;
  if (*action == GameAction::Quit) return true;
  m_attempts->Acted(before, *action, m_game);
  if (m_set) m_set->Observe(m_game);
  ShowState();
  return true;
}

bool CGameWindow::Act(GameAction action) {
  switch (action) {
    case GameAction::TiltNorth: m_game.Tilt(Direction::North); return true;
    case GameAction::TiltSouth: m_game.Tilt(Direction::South); return true;
    case GameAction::TiltWest: m_game.Tilt(Direction::West); return true;
    case GameAction::TiltEast: m_game.Tilt(Direction::East); return true;
    case GameAction::Undo: m_game.Undo(); return true;
    case GameAction::Restart: m_game.Restart(); return true;
    case GameAction::Hint: m_game.ShowHint(); return true;
    case GameAction::SwitchSymbols: SwitchPieceSymbols(); return true;
    case GameAction::Quit: close(); return true;
    case GameAction::NewLevel:
      if (m_set) return false;
      if (m_endless) {
        NewEndlessLevel();
      } else {
        NewRandomLevel();
      }
      return true;
    case GameAction::Endless: StartEndless(); return true;
    case GameAction::OpenSet:
      if (!m_progress) return false;
      OpenSet();
      return true;
    case GameAction::CopyCode: return CopyCode();
    case GameAction::ReadNorth: ReadSquare(Direction::North); return true;
    case GameAction::ReadSouth: ReadSquare(Direction::South); return true;
    case GameAction::ReadWest: ReadSquare(Direction::West); return true;
    case GameAction::ReadEast: ReadSquare(Direction::East); return true;
    case GameAction::ReadTilts:
      m_reading =
          GameWording(TiltReadingTexts(m_game.level()), QStringLiteral(". ")) + QLatin1Char('.');
      return true;
    case GameAction::Levels:
      if (!m_set && m_progress) {
        ShowPicker();
        return true;
      }
      return m_set && ActInSet(action);
    case GameAction::PreviousLevel:
    case GameAction::NextLevel:
    case GameAction::GoOn: return m_set && ActInSet(action);
  }
  return false;
}

// Page Up and Page Down stop at the ends of the set; Enter goes on only from
// a solved level.
bool CGameWindow::ActInSet(GameAction action) {
  switch (action) {
    case GameAction::NextLevel: GoToSetLevel(m_set->Index() + 1); return true;
    case GameAction::PreviousLevel: GoToSetLevel(m_set->Index() - 1); return true;
    case GameAction::GoOn:
      if (!m_game.IsSolved()) return true;
      if (m_set->AllSolved() && m_set->Index() + 1 == m_set->LevelCount() && GoToNextChapter())
        return true;
      if (const std::optional<int> next = m_set->NextToPlay()) GoToSetLevel(*next);
      return true;
    case GameAction::Levels: ShowPicker(); return true;
    default: return false;
  }
}

// The notice of the start (lines left out of the set) speaks of the first
// level shown; it goes once the player moves on.
void CGameWindow::GoToSetLevel(int index) {
  if (!m_set->GoTo(index)) return;
  m_game.Replace(m_set->CurrentLevel());
  m_notice.clear();
  RememberPlace();
}

// A new level is no longer the one the editor passed, nor the unreadable one a
// notice spoke of: the title and the notice go back to plain.
void CGameWindow::NewRandomLevel() {
  m_game.Replace(RandomSolvableLevel(m_game.level().boardSize, m_random));
  m_notice.clear();
  setWindowTitle(Translated(GameTitle));
}

void CGameWindow::OpenSet() {
  CSetChooser chooser(m_installedSets, this);
  if (chooser.exec() != QDialog::Accepted) return;
  const QString path = chooser.Chosen();
  const std::string file = path.toStdString();
  for (std::size_t c = 0; c < m_campaign.chapters.size(); ++c) {
    if (!m_campaign.chapters[c].path.empty() &&
        QFileInfo(QString::fromStdString(m_campaign.chapters[c].path)) == QFileInfo(path)) {
      RememberRecentSet(path);
      const SetPlay chapter(m_campaign.chapters[c].set, m_progress);
      GoToPlace({static_cast<int>(c), chapter.Index()});
      return;
    }
  }
  const SetFileReading reading = ReadSetFile(file);
  PlayableSet set = reading.text ? PrepareSet(*reading.text) : PlayableSet{};
  if (set.levels.empty()) {
    m_notice =
        GameWording(GameText{GameTextId::SetNotOpened,
                             {},
                             {QuotedForNotice(file)},
                             reading.text ? Reason{ReasonId::NoPlayableLevel} : reading.reason});
    return;
  }
  RememberRecentSet(path);
  WatchSetFile(path);
  m_notice = GameWording(LeftOutTexts(set), QStringLiteral(" "));
  m_campaign = Campaign{{{file, std::move(set)}}};
  m_set.emplace(m_campaign.chapters[0].set, m_progress);
  m_chapter = 0;
  m_endless.reset();
  m_endlessCode.clear();
  ShowSetLines(true);
  setWindowTitle(WindowTitle(this->set(), false));
  m_game.Replace(m_set->CurrentLevel());
  RememberPlace();
}

void CGameWindow::WatchSetFile(const QString& path) {
  if (m_watcher == nullptr) {
    m_watcher = new QFileSystemWatcher(this);
    // A file saved whole is a new file in the folder: both are watched.
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &CGameWindow::OfferNewVersion);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &CGameWindow::OfferNewVersion);
  }
  if (!m_watcher->files().isEmpty()) m_watcher->removePaths(m_watcher->files());
  if (!m_watcher->directories().isEmpty()) m_watcher->removePaths(m_watcher->directories());
  m_watchedSet = QFileInfo(path).absoluteFilePath();
  m_watcher->addPath(m_watchedSet);
  m_watcher->addPath(QFileInfo(path).absolutePath());
  m_watchedText = ReadSetFile(m_watchedSet.toStdString()).text.value_or(std::string());
}

void CGameWindow::OfferNewVersion() {
  if (m_watchedSet.isEmpty() || m_offering) return;
  const SetFileReading reading = ReadSetFile(m_watchedSet.toStdString());
  if (!reading.text || *reading.text == m_watchedText) return;
  m_watchedText = *reading.text;
  if (!m_watcher->files().contains(m_watchedSet)) m_watcher->addPath(m_watchedSet);
  PlayableSet set = PrepareSet(*reading.text);
  if (set.levels.empty() || !m_set || m_campaign.chapters.size() != 1) return;
  m_offering = true;
  const auto answer = QMessageBox::question(
      this, QCoreApplication::translate("Game", "Set Changed"),
      QCoreApplication::translate("Game", "The level set %1 has changed. Play its new version?")
          .arg(QFileInfo(m_watchedSet).fileName()));
  m_offering = false;
  if (answer != QMessageBox::Yes) return;
  const int index = std::min(m_set->Index(), static_cast<int>(set.levels.size()) - 1);
  m_campaign = Campaign{{{m_watchedSet.toStdString(), std::move(set)}}};
  m_set.emplace(m_campaign.chapters[0].set, m_progress);
  m_set->GoTo(index);
  setWindowTitle(WindowTitle(this->set(), false));
  m_game.Replace(m_set->CurrentLevel());
  m_notice = GameWording(LeftOutTexts(m_set->set()), QStringLiteral(" "));
  ShowState();
}

void CGameWindow::StartEndless() {
  CEndlessDialog dialog(m_endless.value_or(EndlessChoice{m_game.level().boardSize, Grade::Normal}),
                        this);
  if (dialog.exec() != QDialog::Accepted) return;
  m_endless = dialog.Chosen();
  if (m_set) {
    m_set.reset();
    ShowSetLines(false);
  }
  NewEndlessLevel();
}

// The seed comes from the game's random source, so every level is new.
void CGameWindow::NewEndlessLevel() {
  const std::uint64_t seed = (static_cast<std::uint64_t>(static_cast<unsigned>(m_random())) << 31) ^
                             static_cast<unsigned>(m_random());
  const EndlessLevel made = MakeEndlessLevel(m_endless->size, m_endless->grade, seed, m_grading);
  Level level;
  ParseLevelCode(level, made.code);
  RecheckLevel(level);
  m_game.Replace(std::move(level));
  m_endlessCode = made.code;
  m_notice =
      GameWording(GameText{GameTextId::EndlessLevel,
                           {m_endless->size, static_cast<int>(made.grade.grade), made.grade.points},
                           {made.code}});
  setWindowTitle(Translated(GameTitle));
}

void CGameWindow::ShowSetLines(bool shown) {
  for (QLabel* line : {m_setLevel, m_setProgress, m_offer}) {
    if (line != nullptr) line->setVisible(shown);
  }
  m_keys->setText(Translated(shown ? SetKeyHelp : KeyHelp));
}

// The reading cursor stays on the board when a smaller level follows.
void CGameWindow::ReadSquare(Direction direction) {
  const int last = m_game.level().boardSize - 1;
  const BoardSquare kept{std::min(m_readingSquare.column, last),
                         std::min(m_readingSquare.row, last)};
  m_readingSquare = StepOnBoard(m_game.level(), kept, direction);
  m_reading = GameWording(SquareReadingText(m_game.level(), m_readingSquare)) + QLatin1Char('.');
}

bool CGameWindow::CopyCode() {
  if (m_endlessCode.empty()) return false;
  QGuiApplication::clipboard()->setText(QString::fromStdString(m_endlessCode));
  return true;
}

void CGameWindow::SwitchPieceSymbols() {
  m_pieceSymbols = !m_pieceSymbols;
  QSettings().setValue(PieceSymbolsKey, m_pieceSymbols);
}

bool CGameWindow::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  if (event->type() == QEvent::ScreenChangeInternal) ShowBoard();
  return handled;
}

void CGameWindow::ShowBoard() {
  const Level& level = m_game.level();
  // The editor's frame without its lamp and label (the game shows its own
  // status), and without the margin above smaller boards, so every board
  // stands as close below the title as the 7 x 7 one; drawn with the screen's
  // own pixels.
  const BoardScale scale(devicePixelRatioF());
  m_renderer.SetOptions({m_pieceSymbols, scale, BackgroundRgb});
  const int n = level.boardSize;
  const Rect shown = scale.Area({0, BoardOffset(n), ViewWidth, BoardAreaHeight(n)});
  QImage area = m_renderer.DrawFrame(level).copy(shown.x, shown.y, shown.width, shown.height);
  area.setDevicePixelRatio(scale.factor());
  m_board->setPixmap(QPixmap::fromImage(area));
}

void CGameWindow::ShowState() {
  ShowBoard();

  // The second line becomes the solved line at the end, and then stands out.
  const QStringList lines = Worded(StatusTexts(m_game));
  SetStatusText(m_moves, lines[0]);
  SetStatusText(m_remaining, lines[1]);
  SetLook(m_remaining, m_game.IsSolved() ? SolvedInk : Ink, m_game.IsSolved() ? 2 : 0,
          m_game.IsSolved());
  SetStatusText(m_thirdLine, lines.value(2));
  QString notice = m_notice;
  if (m_set) notice = ShowSetState();
  // What the player asked to read stands last, and is told again when asked again.
  SetStatusText(m_noticeLabel, Joined(notice, m_reading),
                m_reading.isEmpty() ? Repeat::Silent : Repeat::Told);
  m_noticeLabel->setVisible(!m_noticeLabel->text().isEmpty());
  ShowToScreenReader(lines);
}

// The window holds the focus while the game is played, so a screen reader
// reads its description: the board, then the lines under it, after every move.
void CGameWindow::ShowToScreenReader(const QStringList& lines) {
  QStringList parts{BoardPiecesText(m_game.level())};
  parts << lines;
  if (!m_reading.isEmpty()) parts << m_reading;
  if (m_set) parts.prepend(m_setLevel->text());
  setAccessibleDescription(parts.join(QStringLiteral(" ")));
}

QString CGameWindow::ShowSetState() {
  const QStringList lines = Worded(SetTexts(*m_set));
  SetStatusText(m_setLevel, lines[0]);
  SetStatusText(m_setProgress, lines[1]);
  const std::optional<GameText> offer = OfferText(*m_set, m_game);
  SetStatusText(m_offer, offer ? GameWording(*offer) : QString());
  return Joined(m_notice, GameWording(LevelNoticeTexts(*m_set, m_game), QStringLiteral("\n")));
}
