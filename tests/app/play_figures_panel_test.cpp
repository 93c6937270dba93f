// Designer mode's figures of how people fare, from the copy kept in the
// user's data folder (a test location here), with the site out of reach (a
// closed port): the set panel shows each level's line from the copy, a
// damaged copy shows none and is mended by nothing but the site's answers,
// and the editor never waits for the site.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QSaveFile>
#include <QTcpServer>
#include <QTest>

#include "app/level_set_panel.h"
#include "app/play_figures_fetcher.h"

namespace {

constexpr const char* TwoMovesTurned = "3110110221221fbe5";  // canonical
constexpr const char* TwoMoves = "3111221000110fbe5";        // the same level turned
constexpr const char* NotPublishedLevel = "3001122221100fbe5";
constexpr const char* NeverAsked = "5000000000000000000000000000000000fbe5";

/// A port of 127.0.0.1 where nothing listens.
quint16 ClosedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost);
  return probe.serverPort();
}

void WriteCopy(const QByteArray& text) {
  QDir().mkpath(QFileInfo(PlayFiguresPath()).absolutePath());
  QFile file(PlayFiguresPath());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(text);
}

QByteArray FreshCopy() {
  const QByteArray now = QByteArray::number(QDateTime::currentSecsSinceEpoch());
  return "korvalo play figures 1\n" + QByteArray(TwoMovesTurned) + "\t" + now +
         "\t12\t0.58333333333333337\t41.5\t1623.4\t187.2\t1\t3\t1\n" +
         QByteArray(NotPublishedLevel) + "\t" + now + "\tnot published\n";
}

SetDocument SetOf(std::initializer_list<const char*> codes) {
  SetDocument set;
  set.New();
  for (const char* code : codes) set.Add(code);
  return set;
}

QStringList Rows(const CLevelSetPanel& panel) {
  QStringList rows;
  for (int row = 0; row < panel.list()->count(); ++row) rows << panel.list()->item(row)->text();
  return rows;
}

class PlayFiguresPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qputenv("KORVALO_SERVER", QByteArray("http://127.0.0.1:") + QByteArray::number(ClosedPort()));
  }
  void TearDown() override {
    QFile::remove(PlayFiguresPath());
    qunsetenv("KORVALO_SERVER");
  }
};

TEST_F(PlayFiguresPanelTest, TheKeptFiguresStandInTheRowsWithoutTheSite) {
  WriteCopy(FreshCopy());
  CLevelSetPanel panel;
  panel.resize(520, 420);
  panel.Show(SetOf({TwoMoves, NotPublishedLevel, NeverAsked}));
  const QStringList rows = Rows(panel);
  ASSERT_EQ(rows.size(), 3);
  if (QLocale().language() == QLocale::English || QLocale().language() == QLocale::C) {
    EXPECT_TRUE(rows[0].endsWith(
        "\nPeople: 12 plays \u00b7 58% at first try \u00b7 median 42 s\nRating 1623, "
        "provisional \u00b7 likes 3, dislikes 1"))
        << rows[0].toStdString();
    EXPECT_TRUE(rows[1].endsWith("\nPeople: not published")) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].endsWith("\nPeople: no figures from the site yet"))
        << rows[2].toStdString();
  }
  // The never-asked level is asked for; the site out of reach changes nothing shown.
  [&] { QTRY_VERIFY_WITH_TIMEOUT(!panel.playFigures()->Busy(), 30000); }();
  EXPECT_EQ(Rows(panel), rows);
  if (const QByteArray folder = qgetenv("KORVALO_SCREENSHOTS"); !folder.isEmpty()) {
    panel.show();
    QTest::qWait(200);
    panel.grab().save(QString::fromLocal8Bit(folder) + "/play_figures_" + QLocale().name() +
                      ".png");
  }
}

TEST_F(PlayFiguresPanelTest, NoLevelKnownPublishedShowsNoLineOfPeople) {
  WriteCopy("korvalo play figures 1\n" + QByteArray(NotPublishedLevel) + "\t" +
            QByteArray::number(QDateTime::currentSecsSinceEpoch()) + "\tnot published\n");
  CLevelSetPanel panel;
  panel.Show(SetOf({TwoMoves, NotPublishedLevel}));
  for (const QString& row : Rows(panel)) EXPECT_EQ(row.count('\n'), 1) << row.toStdString();
}

TEST_F(PlayFiguresPanelTest, ADamagedCopyShowsNothingAndStaysUntilTheSiteAnswers) {
  const QByteArray fresh = FreshCopy();
  const QByteArray damaged[] = {
      fresh.left(fresh.size() / 2),
      "korvalo play figures 1\n" + QByteArray(TwoMovesTurned) + "\tsoon\t12\n",
      QByteArray("\0\xff\xfe garbage\n", 13),
      "korvalo play figures 9\n" + fresh.mid(fresh.indexOf('\n') + 1),
  };
  for (const QByteArray& copy : damaged) {
    SCOPED_TRACE(copy.toStdString());
    WriteCopy(copy);
    CLevelSetPanel panel;
    panel.Show(SetOf({TwoMoves, NotPublishedLevel}));
    for (const QString& row : Rows(panel)) EXPECT_FALSE(row.contains("\n\n"));
    EXPECT_EQ(Rows(panel)[0].count('\n'), 1) << Rows(panel)[0].toStdString();
    [&] { QTRY_VERIFY_WITH_TIMEOUT(!panel.playFigures()->Busy(), 30000); }();
    // Without an answer of the site the file is left as it was.
    QFile file(PlayFiguresPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), copy);
  }
}

}  // namespace
