#include "game/game_window.h"

#include <QAccessible>
#include <QLabel>
#include <QPixmap>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include "drawing/board_geometry.h"
#include "view/program_translations.h"
#include "view/readable_colours.h"

namespace {

// 3 x 3 with open inner sides; N then W solves it.
constexpr const char* TwoMoveCode = "3111221000110fbe5";

RandomSource FixedSource() {
  return [] { return 0; };
}

GameStart StartOf(std::vector<std::string> arguments) { return OpenGame(arguments, FixedSource()); }

QString LineText(const CGameWindow& window, const char* name) {
  const auto* label = window.findChild<QLabel*>(name);
  return label ? label->text() : QString("<no label %1>").arg(name);
}

QImage ShownBoard(const CGameWindow& window) {
  return window.findChild<QLabel*>("board")->pixmap().toImage();
}

/// The board's size in the window's own pixels, whatever the screen's ratio.
QSize ShownBoardSize(const CGameWindow& window) {
  return window.findChild<QLabel*>("board")->pixmap().deviceIndependentSize().toSize();
}

/// The part of the frame the game shows, drawn by the board renderer for the
/// window's screen, with or without the colours' shapes, on the game's grey.
QImage ExpectedBoard(const CGameWindow& window, bool symbols) {
  const BoardScale scale(window.devicePixelRatioF());
  BoardRenderer renderer(DrawOptions{symbols, scale, MakeRgb(64, 64, 64)});
  const Level& level = window.game().level();
  const int n = level.boardSize;
  const Rect shown = scale.Area({0, BoardOffset(n), ViewWidth, StatusTop(n) - BoardOffset(n)});
  return renderer.DrawFrame(level).copy(shown.x, shown.y, shown.width, shown.height);
}

struct Key {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

}  // namespace

Q_DECLARE_METATYPE(QList<Key>)

class GameWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void keysPlay_data();
  void keysPlay();
  void titleAndNotice_data();
  void titleAndNotice();
  void boardIsRedrawnAfterATilt();
  void newLevelKeepsTheSize();
  void escapeCloses();
  void boardHasTheScreensPixelsAndTheColoursShapes();
  void colourShapesKeySwitchesThemAndIsRemembered();
  void linesStandOutFromTheBackground();
  void aScreenReaderHearsTheBoardAndEachMove();
  void keysReadTheSquaresAndTheTilts();
  void theLinesAreStatusBarsAndTheBoardHasAName();
};

void GameWindowTest::initTestCase() {
  // The colours' shapes are remembered in a test location, never in the player's settings.
  QStandardPaths::setTestModeEnabled(true);
  QSettings().clear();
  // The game's texts as the game starts: its translations for the locale
  // (English with its plural forms here).
  InstallProgramTranslations(*QCoreApplication::instance(), QStringLiteral("korvalo_game"));
}

void GameWindowTest::keysPlay_data() {
  QTest::addColumn<QList<Key>>("keys");
  QTest::addColumn<int>("moves");
  QTest::addColumn<QString>("second");
  QTest::addColumn<QString>("third");

  const QString two = "Shortest solution from here: 2 moves";
  const QString one = "Shortest solution from here: 1 move";
  const QString solved = "Solved in 2 moves";
  QTest::newRow("nothing") << QList<Key>{} << 0 << two << QString();
  QTest::newRow("up") << QList<Key>{{Qt::Key_Up}} << 1 << one << QString();
  QTest::newRow("w") << QList<Key>{{Qt::Key_W}} << 1 << one << QString();
  QTest::newRow("left") << QList<Key>{{Qt::Key_Left}} << 1 << one << QString();
  QTest::newRow("a") << QList<Key>{{Qt::Key_A}} << 1 << one << QString();
  QTest::newRow("down") << QList<Key>{{Qt::Key_Down}} << 1 << QString() << QString();
  QTest::newRow("s") << QList<Key>{{Qt::Key_S}} << 1 << QString() << QString();
  QTest::newRow("right") << QList<Key>{{Qt::Key_Right}} << 1 << QString() << QString();
  QTest::newRow("d") << QList<Key>{{Qt::Key_D}} << 1 << QString() << QString();
  QTest::newRow("up left") << QList<Key>{{Qt::Key_Up}, {Qt::Key_Left}} << 2 << solved
                           << QString("Shortest possible: 2 moves");
  QTest::newRow("w a") << QList<Key>{{Qt::Key_W}, {Qt::Key_A}} << 2 << solved
                       << QString("Shortest possible: 2 moves");
  QTest::newRow("up backspace") << QList<Key>{{Qt::Key_Up}, {Qt::Key_Backspace}} << 0 << two
                                << QString();
  QTest::newRow("up ctrl+z") << QList<Key>{{Qt::Key_Up}, {Qt::Key_Z, Qt::ControlModifier}} << 0
                             << two << QString();
  QTest::newRow("up left r") << QList<Key>{{Qt::Key_Up}, {Qt::Key_Left}, {Qt::Key_R}} << 0 << two
                             << QString();
  QTest::newRow("h") << QList<Key>{{Qt::Key_H}} << 0 << two << QString("Hint: North");
  QTest::newRow("up h") << QList<Key>{{Qt::Key_Up}, {Qt::Key_H}} << 1 << one
                        << QString("Hint: West");
  QTest::newRow("h up") << QList<Key>{{Qt::Key_H}, {Qt::Key_Up}} << 1 << one << QString();
  QTest::newRow("ctrl+w is no tilt")
      << QList<Key>{{Qt::Key_W, Qt::ControlModifier}} << 0 << two << QString();
  QTest::newRow("z alone is no undo")
      << QList<Key>{{Qt::Key_Up}, {Qt::Key_Z}} << 1 << one << QString();
}

void GameWindowTest::keysPlay() {
  QFETCH(QList<Key>, keys);
  QFETCH(int, moves);
  QFETCH(QString, second);
  QFETCH(QString, third);
  CGameWindow window(StartOf({TwoMoveCode}), FixedSource());
  window.show();
  for (const Key& key : keys) QTest::keyClick(&window, key.key, key.modifiers);
  QCOMPARE(window.game().MoveCount(), moves);
  QCOMPARE(LineText(window, "moves"), QString("Moves: %1").arg(moves));
  if (!second.isNull()) QCOMPARE(LineText(window, "remaining"), second);
  QCOMPARE(LineText(window, "third"), third);
}

void GameWindowTest::titleAndNotice_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("noticeStart");
  QTest::addColumn<int>("size");

  const QString code = TwoMoveCode;
  QTest::newRow("from the editor")
      << QStringList{code + "Level Editor"} << QString(EditorTestTitle) << QString() << 3;
  QTest::newRow("from the editor, split")
      << QStringList{code + "Level", "Editor"} << QString(EditorTestTitle) << QString() << 3;
  QTest::newRow("plain code") << QStringList{code} << QString(GameTitle) << QString() << 3;
  QTest::newRow("no argument") << QStringList{} << QString(GameTitle) << QString() << 5;
  QTest::newRow("unreadable from the editor")
      << QStringList{"3xyzLevel Editor"} << QString(GameTitle)
      << QString("Could not read the level code \"3xyz\"") << 5;
  QTest::newRow("no solution") << QStringList{"5002244442200ffbfeffbfe55Level Editor"}
                               << QString(EditorTestTitle) << QString("This level has no solution")
                               << 5;
}

void GameWindowTest::titleAndNotice() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, title);
  QFETCH(QString, noticeStart);
  QFETCH(int, size);
  std::vector<std::string> words;
  for (const QString& argument : arguments) words.push_back(argument.toStdString());
  CGameWindow window(StartOf(words), FixedSource());
  window.show();
  QCOMPARE(window.windowTitle(), title);
  QCOMPARE(window.game().level().boardSize, size);
  const auto* notice = window.findChild<QLabel*>("notice");
  QVERIFY(notice->text().startsWith(noticeStart));
  QCOMPARE(notice->isVisible(), !noticeStart.isEmpty());
  QCOMPARE(ShownBoardSize(window), QSize(ViewWidth, StatusTop(size) - BoardOffset(size)));
  // Whatever is played, the window shows the Korvalo icon, as the editor's does.
  const QIcon icon = window.windowIcon();
  QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(32, 32), QSize(16, 16)}));
  QCOMPARE(icon.pixmap(QSize(32, 32)).toImage().convertToFormat(QImage::Format_ARGB32),
           QImage(":/icons/korvalo_32.png").convertToFormat(QImage::Format_ARGB32));
}

void GameWindowTest::boardIsRedrawnAfterATilt() {
  CGameWindow window(StartOf({TwoMoveCode}), FixedSource());
  window.show();
  const QImage before = ShownBoard(window);
  QTest::keyClick(&window, Qt::Key_Up);
  const QImage after = ShownBoard(window);
  QVERIFY(after != before);
  QTest::keyClick(&window, Qt::Key_Backspace);
  QCOMPARE(ShownBoard(window), before);
}

void GameWindowTest::newLevelKeepsTheSize() {
  CGameWindow window(StartOf({std::string(TwoMoveCode) + "Level Editor"}), FixedSource());
  window.show();
  QTest::keyClick(&window, Qt::Key_Up);
  QTest::keyClick(&window, Qt::Key_N);
  QCOMPARE(window.game().level().boardSize, 3);
  QCOMPARE(window.game().MoveCount(), 0);
  QVERIFY(window.game().HasSolution());
  QCOMPARE(window.windowTitle(), QString(GameTitle));
}

void GameWindowTest::escapeCloses() {
  CGameWindow window(StartOf({}), FixedSource());
  window.show();
  QVERIFY(window.isVisible());
  QTest::keyClick(&window, Qt::Key_Escape);
  QVERIFY(!window.isVisible());
}

void GameWindowTest::boardHasTheScreensPixelsAndTheColoursShapes() {
  for (const char* code : {TwoMoveCode, "50022444422005eae44c9f644"}) {
    CGameWindow window(StartOf({code}), FixedSource());
    window.show();
    const QPixmap board = window.findChild<QLabel*>("board")->pixmap();
    QCOMPARE(board.devicePixelRatio(), window.devicePixelRatioF());
    QCOMPARE(ShownBoard(window), ExpectedBoard(window, true));
    QTest::keyClick(&window, Qt::Key_Up);
    QCOMPARE(ShownBoard(window), ExpectedBoard(window, true));
  }
}

// C switches the shapes off and on again; a new window starts as the last
// switch left them. It is no move.
void GameWindowTest::colourShapesKeySwitchesThemAndIsRemembered() {
  QSettings().remove(PieceSymbolsKey);
  {
    CGameWindow window(StartOf({TwoMoveCode}), FixedSource());
    window.show();
    QVERIFY(window.pieceSymbols());
    QTest::keyClick(&window, Qt::Key_C);
    QVERIFY(!window.pieceSymbols());
    QCOMPARE(window.game().MoveCount(), 0);
    QCOMPARE(ShownBoard(window), ExpectedBoard(window, false));
    QCOMPARE(QSettings().value(PieceSymbolsKey).toBool(), false);
  }
  CGameWindow again(StartOf({TwoMoveCode}), FixedSource());
  again.show();
  QVERIFY(!again.pieceSymbols());
  QCOMPARE(ShownBoard(again), ExpectedBoard(again, false));
  QTest::keyClick(&again, Qt::Key_C);
  QVERIFY(again.pieceSymbols());
  QCOMPARE(ShownBoard(again), ExpectedBoard(again, true));
  QCOMPARE(QSettings().value(PieceSymbolsKey).toBool(), true);
}

// Every line, in each of its inks (plain, solved, notice), reaches 4.5 to 1
// against the window's background.
void GameWindowTest::linesStandOutFromTheBackground() {
  CGameWindow solved(StartOf({TwoMoveCode}), FixedSource());
  solved.show();
  QTest::keyClick(&solved, Qt::Key_Up);
  QTest::keyClick(&solved, Qt::Key_Left);
  QVERIFY(solved.game().IsSolved());
  CGameWindow noticed(StartOf({"3xyz"}), FixedSource());
  noticed.show();
  for (const CGameWindow* window : {&solved, &noticed}) {
    const QColor background = window->palette().color(QPalette::Window);
    for (const QLabel* line : window->findChildren<QLabel*>()) {
      if (line->text().isEmpty()) continue;
      const double contrast =
          ContrastRatio(line->palette().color(QPalette::WindowText), background);
      QVERIFY2(contrast >= ReadableContrast,
               qPrintable(line->objectName() + ": " + QString::number(contrast)));
    }
  }
}

// The window holds the focus; its description says the board, the moves
// made and what remains, and follows every move.
void GameWindowTest::aScreenReaderHearsTheBoardAndEachMove() {
  CGameWindow window(StartOf({TwoMoveCode}), FixedSource());
  window.show();
  QAccessibleInterface* game = QAccessible::queryAccessibleInterface(&window);
  QVERIFY(game);
  QCOMPARE(game->text(QAccessible::Name), QString("Korvalo"));
  const QString start = game->text(QAccessible::Description);
  QVERIFY2(start.startsWith("A 3 by 3 board. The red ball on column 2, row 2."), qPrintable(start));
  QVERIFY2(start.contains(LineText(window, "moves")), qPrintable(start));
  QVERIFY2(start.contains(LineText(window, "remaining")), qPrintable(start));
  QTest::keyClick(&window, Qt::Key_Up);
  const QString moved = game->text(QAccessible::Description);
  QVERIFY(moved != start);
  QVERIFY2(moved.contains(LineText(window, "moves")), qPrintable(moved));
}

// Ctrl+Arrows move a reading cursor from the top left square and read the
// square it comes to; T reads what each tilt would do. What was read stands
// in the notice line until another key, and in the window's description.
void GameWindowTest::keysReadTheSquaresAndTheTilts() {
  CGameWindow window(StartOf({TwoMoveCode}), FixedSource());
  window.show();
  QTest::keyClick(&window, Qt::Key_Right, Qt::ControlModifier);
  QCOMPARE(LineText(window, "notice"),
           QString("Column 2, row 1: the green hole; walls north; open south, west, east."));
  QTest::keyClick(&window, Qt::Key_Down, Qt::ControlModifier);
  QCOMPARE(LineText(window, "notice"), QString("Column 2, row 2: the red ball; no walls."));
  QCOMPARE(window.game().MoveCount(), 0);  // reading moves no ball
  QTest::keyClick(&window, Qt::Key_T);
  const QString tilts = LineText(window, "notice");
  QVERIFY2(tilts.startsWith("Tilt north: the red ball goes to column 2, row 1, "),
           qPrintable(tilts));
  QCOMPARE(tilts.count("Tilt "), 4);
  QAccessibleInterface* game = QAccessible::queryAccessibleInterface(&window);
  QVERIFY(game->text(QAccessible::Description).endsWith(tilts));
  QTest::keyClick(&window, Qt::Key_Up);
  QCOMPARE(window.game().MoveCount(), 1);
  QCOMPARE(LineText(window, "notice"), QString());
}

void GameWindowTest::theLinesAreStatusBarsAndTheBoardHasAName() {
  CGameWindow window(StartOf({TwoMoveCode}), FixedSource());
  window.show();
  for (const char* name : {"moves", "remaining", "third", "notice"}) {
    QAccessibleInterface* line =
        QAccessible::queryAccessibleInterface(window.findChild<QLabel*>(name));
    QVERIFY(line);
    QCOMPARE(line->role(), QAccessible::StatusBar);
    QCOMPARE(line->text(QAccessible::Name), LineText(window, name));
    QVERIFY(line->textInterface());
  }
  QAccessibleInterface* board =
      QAccessible::queryAccessibleInterface(window.findChild<QLabel*>("board"));
  QCOMPARE(board->text(QAccessible::Name), QString("Board"));
}

QTEST_MAIN(GameWindowTest)
#include "game_window_test.moc"
