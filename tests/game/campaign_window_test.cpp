// The game playing the campaign: on from one chapter into the next, the
// level to resume at kept, one window size for boards of every size, and the
// level picker's rows.

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "game/game_window.h"
#include "game/level_picker.h"
#include "logic/level_code.h"
#include "play/set_start.h"
#include "view/program_translations.h"

namespace {

// 3 x 3 with open inner sides: Up then Left solves it.
constexpr const char* TwoMoveCode = "3111221000110fbe5";
// 5 x 5 maze: Right solves it.
constexpr const char* OneMoveCode = "5020100030201ffbfeffbfe55";
// 7 x 7 cleared board.
constexpr const char* SevenCode = "7003366663300d4dae70cec86baf110a5e554";

RandomSource FixedSource() {
  return [] { return 0; };
}

QString LineText(const CGameWindow& window, const char* name) {
  const auto* label = window.findChild<QLabel*>(name);
  return label ? label->text() : QString("<no label %1>").arg(name);
}

}  // namespace

class CampaignWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName("Vandrel");
    QCoreApplication::setApplicationName("Korvalo");
    InstallProgramTranslations(*QCoreApplication::instance(), QStringLiteral("korvalo_game"));
    QVERIFY(m_folder.isValid());
    Write("01-first.txt", QString("# title: First\n%1\n").arg(TwoMoveCode));
    Write("02-second.txt", QString("# title: Second\n%1\n%2\n").arg(OneMoveCode, SevenCode));
    m_campaign = ReadCampaign(m_folder.path().toStdString());
    QCOMPARE(m_campaign.chapters.size(), std::size_t{2});
  }

  void enterGoesOnIntoTheNextChapterInOneWindowSize() {
    const auto progress = std::make_shared<MemoryProgressStore>();
    CGameWindow window(Start(progress), FixedSource());
    window.UseCampaign(m_campaign, 0);
    window.show();
    const QSize size = window.size();
    QCOMPARE(progress->LastPlayed(), m_campaign.chapters[0].set.levels[0].canonicalCode);

    QTest::keyClick(&window, Qt::Key_Up);
    QTest::keyClick(&window, Qt::Key_Left);
    QVERIFY(window.game().IsSolved());
    QCOMPARE(window.size(), size);
    QTest::keyClick(&window, Qt::Key_Return);
    QCOMPARE(window.windowTitle(), QString("Korvalo - Second"));
    QCOMPARE(LineText(window, "setLevel"), QString("Level 1 of 2"));
    QCOMPARE(window.game().level().boardSize, 5);
    QCOMPARE(progress->LastPlayed(), m_campaign.chapters[1].set.levels[0].canonicalCode);
    QCOMPARE(window.size(), size);
    QTest::keyClick(&window, Qt::Key_PageDown);
    QCOMPARE(window.game().level().boardSize, 7);
    QCOMPARE(window.size(), size);
    QCOMPARE(progress->FewestMoves(m_campaign.chapters[0].set.levels[0].canonicalCode),
             std::optional<int>(2));
  }

  // Run in English and in German (whose progress line is longer): no line
  // that changes while playing changes the window's size.
  void theWindowKeepsOneSizeWhilePlaying() {
    const auto progress = std::make_shared<MemoryProgressStore>();
    progress->SetFewestMoves(m_campaign.chapters[1].set.levels[1].canonicalCode, 12345);
    CGameWindow window(Start(progress), FixedSource());
    window.UseCampaign(m_campaign, 0);
    window.show();
    const QSize size = window.size();
    for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Return, Qt::Key_Right,
                              Qt::Key_PageDown, Qt::Key_H, Qt::Key_PageUp, Qt::Key_PageDown}) {
      QTest::keyClick(&window, key);
      QCOMPARE(window.size(), size);
    }
    QVERIFY(!LineText(window, "setProgress").isEmpty());
  }

  // A designer saves a new version of the set played: the game asks, and
  // plays it at the same place once the player says yes.
  void aChangedSetFileIsOfferedAndPlayed() {
    const QString path = m_folder.filePath("designed.txt");
    WriteFile(path, QString("# title: Draft\n%1\n%2\n").arg(TwoMoveCode, OneMoveCode));
    const auto progress = std::make_shared<MemoryProgressStore>();
    CGameWindow window(OpenGameOrSet({path.toStdString()}, FixedSource(), progress), FixedSource());
    window.FollowSetFile(path);
    window.show();
    QTest::keyClick(&window, Qt::Key_PageDown);
    QCOMPARE(window.game().level().boardSize, 5);

    QString asked;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&asked] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        asked = box->text();
        box->button(QMessageBox::Yes)->click();
      }
    });
    answer.start(20);
    WriteFile(path, QString("# title: Final\n%1\n%2\n").arg(TwoMoveCode, SevenCode));
    QTRY_COMPARE(window.windowTitle(), QString("Korvalo - Final"));
    QCOMPARE(asked, QString("The level set designed.txt has changed. Play its new version?"));
    QCOMPARE(window.set()->Index(), 1);
    QCOMPARE(window.game().level().boardSize, 7);
  }

  void thePickerShowsEachLevelWithBestShortestAndStars() {
    MemoryProgressStore progress;
    progress.SetFewestMoves(m_campaign.chapters[1].set.levels[0].canonicalCode, 2);
    CLevelPicker picker(m_campaign, progress, {1, 1});
    const auto* chapters = picker.findChild<QComboBox*>("chapters");
    auto* levels = picker.findChild<QTreeWidget*>("levels");
    QCOMPARE(chapters->itemText(0), QString("1. First (0 of 1 solved)"));
    QCOMPARE(chapters->itemText(1), QString("2. Second (1 of 2 solved)"));
    QCOMPARE(levels->topLevelItemCount(), 2);
    const QTreeWidgetItem* first = levels->topLevelItem(0);
    QCOMPARE(QStringList({first->text(0), first->text(1), first->text(2), first->text(3)}),
             QStringList({"1", "2", "1", QString::fromUtf8("\u2605\u2605\u2606")}));
    QCOMPARE(levels->topLevelItem(1)->text(1), QString("not solved"));
    QCOMPARE(picker.Chosen(), (CampaignPlace{1, 1}));
    QTest::keyClick(levels, Qt::Key_Up);
    QCOMPARE(picker.Chosen(), (CampaignPlace{1, 0}));
  }

 private:
  void Write(const QString& name, const QString& text) { WriteFile(m_folder.filePath(name), text); }

  static void WriteFile(const QString& path, const QString& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
  }

  GameStart Start(const std::shared_ptr<ProgressStore>& progress) {
    SetPlay play(m_campaign.chapters[0].set, progress);
    Level level = play.CurrentLevel();
    return GameStart{std::move(level), false, {}, std::move(play)};
  }

  QTemporaryDir m_folder;
  Campaign m_campaign;
};

QTEST_MAIN(CampaignWindowTest)
#include "campaign_window_test.moc"
