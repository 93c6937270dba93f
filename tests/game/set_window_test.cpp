#include <QLabel>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "game/game_window.h"
#include "game/settings_progress_store.h"
#include "logic/level_code.h"
#include "play/set_start.h"
#include "view/program_translations.h"

namespace {

// 3 x 3 with open inner sides: Up then Left solves it.
constexpr const char* TwoMoveCode = "3111221000110fbe5";
// 5 x 5 maze: Right solves it.
constexpr const char* OneMoveCode = "5020100030201ffbfeffbfe55";
// No solution.
constexpr const char* UnsolvableCode = "3001122221100fbe5";

const QString SetText = QString("# title: First steps\n%1\tTwo moves\n%2\tOne move\n%3\tStuck\n")
                            .arg(TwoMoveCode, OneMoveCode, UnsolvableCode);

RandomSource FixedSource() {
  return [] { return 0; };
}

QString LineText(const CGameWindow& window, const char* name) {
  const auto* label = window.findChild<QLabel*>(name);
  return label ? label->text() : QString("<no label %1>").arg(name);
}

/// The level played, apart from where its balls stand now: its size, holes and walls.
QString BoardOf(const QString& code) { return code.left(1) + code.mid(7); }
QString BoardOf(const CGameWindow& window) {
  return BoardOf(QString::fromStdString(WriteLevelCode(window.game().level())));
}

}  // namespace

class SetWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void showsTheSetAndItsFirstLevel();
  void keysGoThroughTheSet_data();
  void keysGoThroughTheSet();
  void solvingOffersTheNextLevel();
  void theEndOfTheSetIsSaid();
  void progressIsKeptAcrossWindows();
  void noticesOfTheSet();
  void titlesAreShownAsPlainText();
  void quotedTextIsShownAsPlainText();
  void singleLevelIgnoresTheSetKeys();
  void theWindowKeepsItsSizeThroughTheSet();
  void settingsKeepProgress();
  void settingsIgnoreDamagedValues();

 private:
  /// A window playing a set file with text, progress in m_store.
  std::unique_ptr<CGameWindow> OpenSet(const QString& text, const QString& name = "set.txt");

  QTemporaryDir m_folder;
  std::shared_ptr<MemoryProgressStore> m_store;
};

void SetWindowTest::initTestCase() {
  // The settings go to a folder of the tests' own, never the player's.
  QStandardPaths::setTestModeEnabled(true);
  QCoreApplication::setOrganizationName("Vandrel");
  QCoreApplication::setApplicationName("Korvalo");
  QVERIFY(m_folder.isValid());
  // The game's texts as the game starts: its translations for the locale
  // (English with its plural forms here).
  InstallProgramTranslations(*QCoreApplication::instance(), QStringLiteral("korvalo_game"));
}

std::unique_ptr<CGameWindow> SetWindowTest::OpenSet(const QString& text, const QString& name) {
  const QString path = m_folder.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return nullptr;
  file.write(text.toUtf8());
  file.close();
  m_store = std::make_shared<MemoryProgressStore>();
  auto window = std::make_unique<CGameWindow>(
      OpenGameOrSet({path.toStdString()}, FixedSource(), m_store), FixedSource());
  window->show();
  return window;
}

void SetWindowTest::showsTheSetAndItsFirstLevel() {
  const auto window = OpenSet(SetText);
  QVERIFY(window && window->set());
  QCOMPARE(window->windowTitle(), QString("Korvalo - First steps"));
  QCOMPARE(LineText(*window, "setLevel"), QString("Level 1 of 3: Two moves"));
  QCOMPARE(LineText(*window, "setProgress"), QString("Not solved yet; 0 of 3 levels solved"));
  QCOMPARE(LineText(*window, "offer"), QString());
  QCOMPARE(LineText(*window, "moves"), QString("Moves: 0"));
  QCOMPARE(BoardOf(*window), BoardOf(TwoMoveCode));
  QVERIFY(LineText(*window, "keys").contains("Page Up, Page Down: previous, next level"));
  QVERIFY(!LineText(*window, "keys").contains("N: new level"));
  QVERIFY(!window->findChild<QLabel*>("notice")->isVisible());
}

Q_DECLARE_METATYPE(QList<int>)

void SetWindowTest::keysGoThroughTheSet_data() {
  QTest::addColumn<QList<int>>("keys");
  QTest::addColumn<int>("level");
  QTest::addColumn<int>("moves");

  QTest::newRow("page down") << QList<int>{Qt::Key_PageDown} << 2 << 0;
  QTest::newRow("to the end") << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown} << 3 << 0;
  QTest::newRow("past the end") << QList<int>{Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown}
                                << 3 << 0;
  QTest::newRow("page up at the start") << QList<int>{Qt::Key_PageUp} << 1 << 0;
  QTest::newRow("there and back") << QList<int>{Qt::Key_PageDown, Qt::Key_PageUp} << 1 << 0;
  QTest::newRow("moves go with the level") << QList<int>{Qt::Key_Down, Qt::Key_PageDown} << 2 << 0;
  QTest::newRow("page up at the start keeps the moves")
      << QList<int>{Qt::Key_Down, Qt::Key_PageUp} << 1 << 1;
  QTest::newRow("enter before solving") << QList<int>{Qt::Key_Up, Qt::Key_Return} << 1 << 1;
  QTest::newRow("n makes no new level") << QList<int>{Qt::Key_Up, Qt::Key_N} << 1 << 1;
  QTest::newRow("enter once solved")
      << QList<int>{Qt::Key_Up, Qt::Key_Left, Qt::Key_Return} << 2 << 0;
  QTest::newRow("keypad enter once solved")
      << QList<int>{Qt::Key_Up, Qt::Key_Left, Qt::Key_Enter} << 2 << 0;
}

void SetWindowTest::keysGoThroughTheSet() {
  QFETCH(QList<int>, keys);
  QFETCH(int, level);
  QFETCH(int, moves);
  const auto window = OpenSet(SetText);
  QVERIFY(window);
  for (const int key : keys) QTest::keyClick(window.get(), static_cast<Qt::Key>(key));
  const QString codes[] = {TwoMoveCode, OneMoveCode, UnsolvableCode};
  QCOMPARE(BoardOf(*window), BoardOf(codes[level - 1]));
  QCOMPARE(window->game().MoveCount(), moves);
  QVERIFY(LineText(*window, "setLevel").startsWith(QString("Level %1 of 3: ").arg(level)));
  QCOMPARE(LineText(*window, "moves"), QString("Moves: %1").arg(moves));
}

// 3 x 3, 5 x 5 and 7 x 7 levels in one set: one window size for all.
void SetWindowTest::theWindowKeepsItsSizeThroughTheSet() {
  const auto window = OpenSet(SetText + "7003366663300fffbffefffbffefffbffe555\tLarge\n");
  QVERIFY(window);
  QList<QSize> sizes;
  for (int level = 0; level < 4; ++level) {
    QApplication::processEvents();
    sizes << window->size();
    QTest::keyClick(window.get(), Qt::Key_PageDown);
  }
  QCOMPARE(window->game().level().boardSize, 7);
  for (const QSize& size : sizes) QCOMPARE(size, sizes.first());
}

void SetWindowTest::solvingOffersTheNextLevel() {
  const auto window = OpenSet(SetText);
  QVERIFY(window);
  QTest::keyClick(window.get(), Qt::Key_Up);
  QTest::keyClick(window.get(), Qt::Key_Left);
  QCOMPARE(LineText(*window, "remaining"), QString("Solved in 2 moves"));
  QCOMPARE(LineText(*window, "offer"), QString("Press Enter for level 2"));
  QCOMPARE(LineText(*window, "setProgress"), QString("Solved, best 2 moves; 1 of 3 levels solved"));
  QCOMPARE(m_store->FewestMoves(window->set()->Current().canonicalCode), std::optional<int>(2));
  QTest::keyClick(window.get(), Qt::Key_Return);
  QCOMPARE(LineText(*window, "setLevel"), QString("Level 2 of 3: One move"));
  QCOMPARE(LineText(*window, "setProgress"), QString("Not solved yet; 1 of 3 levels solved"));
  QCOMPARE(LineText(*window, "offer"), QString());
  QTest::keyClick(window.get(), Qt::Key_PageUp);
  QCOMPARE(LineText(*window, "setProgress"), QString("Solved, best 2 moves; 1 of 3 levels solved"));
}

void SetWindowTest::theEndOfTheSetIsSaid() {
  const QString set = QString("%1\tA\n%2\tB\n").arg(TwoMoveCode, OneMoveCode);
  const auto window = OpenSet(set);
  QVERIFY(window);
  QTest::keyClick(window.get(), Qt::Key_PageDown);
  QTest::keyClick(window.get(), Qt::Key_Right);
  QCOMPARE(
      LineText(*window, "offer"),
      QString(
          "End of the set, 1 of 2 levels solved: press Enter for level 1, the first not solved"));
  QTest::keyClick(window.get(), Qt::Key_Return);
  QCOMPARE(BoardOf(*window), BoardOf(TwoMoveCode));
  QTest::keyClick(window.get(), Qt::Key_Up);
  QTest::keyClick(window.get(), Qt::Key_Left);
  QCOMPARE(LineText(*window, "offer"),
           QString("Set complete: all 2 levels solved; press Enter for level 2"));
  QCOMPARE(LineText(*window, "setProgress"), QString("Solved, best 2 moves; 2 of 2 levels solved"));
  QTest::keyClick(window.get(), Qt::Key_Return);
  QTest::keyClick(window.get(), Qt::Key_Right);
  QCOMPARE(LineText(*window, "offer"), QString("Set complete: all 2 levels solved"));
  QTest::keyClick(window.get(), Qt::Key_Return);  // nowhere to go
  QCOMPARE(LineText(*window, "setLevel"), QString("Level 2 of 2: B"));
}

// A second window on the set, reordered and without its title, opens at the
// level not yet solved and shows the other as solved.
void SetWindowTest::progressIsKeptAcrossWindows() {
  std::shared_ptr<MemoryProgressStore> store;
  {
    const auto window = OpenSet(SetText);
    QVERIFY(window);
    QTest::keyClick(window.get(), Qt::Key_Down);
    QTest::keyClick(window.get(), Qt::Key_Up);
    QTest::keyClick(window.get(), Qt::Key_Up);
    QTest::keyClick(window.get(), Qt::Key_Left);
    QCOMPARE(LineText(*window, "setProgress"),
             QString("Solved, best 4 moves; 1 of 3 levels solved"));
    store = m_store;
  }
  const QString path = m_folder.filePath("reordered.txt");
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(QString("%1\n%2\n").arg(TwoMoveCode, OneMoveCode).toUtf8());
  file.close();
  CGameWindow window(OpenGameOrSet({path.toStdString()}, FixedSource(), store), FixedSource());
  window.show();
  QCOMPARE(window.windowTitle(), QString("Korvalo - reordered.txt"));
  QCOMPARE(LineText(window, "setLevel"), QString("Level 2 of 2"));
  QCOMPARE(LineText(window, "setProgress"), QString("Not solved yet; 1 of 2 levels solved"));
  QTest::keyClick(&window, Qt::Key_PageUp);
  QCOMPARE(LineText(window, "setProgress"), QString("Solved, best 4 moves; 1 of 2 levels solved"));
}

void SetWindowTest::noticesOfTheSet() {
  const auto window = OpenSet(QString("%1\nnot a level\n%2\n").arg(UnsolvableCode, TwoMoveCode));
  QVERIFY(window);
  const auto* notice = window->findChild<QLabel*>("notice");
  QVERIFY(notice->text().startsWith(
      "1 line of the set could not be read and was left out; it is line 2: "));
  QVERIFY(notice->text().endsWith("\nThis level has no solution; the balls can still be moved."));
  QVERIFY(notice->isVisible());
  QTest::keyClick(window.get(), Qt::Key_PageDown);
  QVERIFY(!notice->isVisible());
  QTest::keyClick(window.get(), Qt::Key_PageUp);
  QCOMPARE(notice->text(), QString("This level has no solution; the balls can still be moved."));
  QVERIFY(notice->isVisible());
  QTest::keyClick(window.get(), Qt::Key_Up);  // the balls still move
  QCOMPARE(window->game().MoveCount(), 1);

  m_store = std::make_shared<MemoryProgressStore>();
  m_store->FailWrites();
  CGameWindow failing(
      OpenGameOrSet({m_folder.filePath("set.txt").toStdString()}, FixedSource(), m_store),
      FixedSource());
  failing.show();
  QTest::keyClick(&failing, Qt::Key_PageDown);
  QTest::keyClick(&failing, Qt::Key_Up);
  QTest::keyClick(&failing, Qt::Key_Left);
  QCOMPARE(failing.findChild<QLabel*>("notice")->text(),
           QString("Your progress could not be saved."));
  QCOMPARE(LineText(failing, "setProgress"), QString("Solved, best 2 moves; 1 of 2 levels solved"));
}

// A title that looks like markup is shown as written, not as a huge heading.
void SetWindowTest::titlesAreShownAsPlainText() {
  const auto plain = OpenSet(QString("%1\tBig\n").arg(TwoMoveCode), "plain.txt");
  const auto markup = OpenSet(QString("%1\t<h1>Big</h1>\n").arg(TwoMoveCode), "markup.txt");
  QVERIFY(plain && markup);
  const auto* heading = markup->findChild<QLabel*>("setLevel");
  QCOMPARE(heading->text(), QString("Level 1 of 1: <h1>Big</h1>"));
  QCOMPARE(heading->sizeHint().height(),
           plain->findChild<QLabel*>("setLevel")->sizeHint().height());
}

// The same holds for a notice quoting what the command line gave.
void SetWindowTest::quotedTextIsShownAsPlainText() {
  CGameWindow big(OpenGame({"<h1>Big</h1>Level Editor"}, FixedSource()), FixedSource());
  CGameWindow small(OpenGame({"<h6>Big</h6>Level Editor"}, FixedSource()), FixedSource());
  const auto* bigNotice = big.findChild<QLabel*>("notice");
  QVERIFY(bigNotice->text().contains("\"<h1>Big</h1>\""));
  QCOMPARE(bigNotice->sizeHint().height(), small.findChild<QLabel*>("notice")->sizeHint().height());
}

// Without a set the keys of a set mean nothing, and the window has none of
// the set's lines.
void SetWindowTest::singleLevelIgnoresTheSetKeys() {
  CGameWindow window(OpenGame({TwoMoveCode}, FixedSource()), FixedSource());
  window.show();
  QVERIFY(!window.set());
  QTest::keyClick(&window, Qt::Key_Up);
  QTest::keyClick(&window, Qt::Key_Left);
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_PageDown, Qt::Key_PageUp}) {
    QTest::keyClick(&window, key);
  }
  QCOMPARE(BoardOf(window), BoardOf(TwoMoveCode));
  QCOMPARE(window.game().MoveCount(), 2);
  QCOMPARE(window.windowTitle(), QString(GameTitle));
  QVERIFY(!window.findChild<QLabel*>("setLevel"));
  QVERIFY(!window.findChild<QLabel*>("offer"));
  QVERIFY(LineText(window, "keys").contains("N: new level"));
}

void SetWindowTest::settingsKeepProgress() {
  QSettings settings;
  QVERIFY2(settings.fileName().contains(".qttest"), qPrintable(settings.fileName()));
  settings.remove("SetProgress");
  settings.sync();
  {
    CSettingsProgressStore store;
    QCOMPARE(store.FewestMoves("3001122221100fbe5"), std::nullopt);
    QVERIFY(store.SetFewestMoves("3001122221100fbe5", 7));
    QVERIFY(store.SetFewestMoves("5020100030201ffbfeffbfe55", 0));
  }
  CSettingsProgressStore again;
  QCOMPARE(again.FewestMoves("3001122221100fbe5"), std::optional<int>(7));
  QCOMPARE(again.FewestMoves("5020100030201ffbfeffbfe55"), std::optional<int>(0));
  QCOMPARE(again.FewestMoves("3111221000110fbe5"), std::nullopt);
  settings.sync();
  QCOMPARE(settings.value("SetProgress/3001122221100fbe5").toInt(), 7);
}

void SetWindowTest::settingsIgnoreDamagedValues() {
  {
    QSettings settings;
    settings.setValue("SetProgress/a", "many");
    settings.setValue("SetProgress/b", -3);
    settings.setValue("SetProgress/c", "");
    settings.setValue("SetProgress/d", "12");
  }
  const CSettingsProgressStore store;
  QCOMPARE(store.FewestMoves("a"), std::nullopt);
  QCOMPARE(store.FewestMoves("b"), std::nullopt);
  QCOMPARE(store.FewestMoves("c"), std::nullopt);
  QCOMPARE(store.FewestMoves("d"), std::optional<int>(12));
}

QTEST_MAIN(SetWindowTest)
#include "set_window_test.moc"
