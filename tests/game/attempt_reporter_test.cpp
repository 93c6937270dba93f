// The game's play records: the player's consent, asked once in a fresh
// settings folder and kept; nothing sent without it; with it, each attempt
// reaches the real site (korvz on a SQLite file, which local_site.py starts
// and names in KORVALO_SERVER) and counts in the level's figures; a site out
// of reach (a closed port) or one that never answers costs play nothing and
// piles nothing up.

#include "game/attempt_reporter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "game/game_window.h"
#include "game/record_sender.h"
#include "play/set_start.h"

namespace {

// 3 x 3 with open inner sides; N then W solves it.
constexpr const char* TwoMoveCode = "3111221000110fbe5";

RandomSource FixedSource() {
  return [] { return 0; };
}

GameStart StartOf(std::vector<std::string> arguments) { return OpenGame(arguments, FixedSource()); }

/// A port of 127.0.0.1 where nothing listens.
quint16 ClosedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost);
  return probe.serverPort();
}

/// The site's environment for the windows made while it lives.
class SiteAt {
 public:
  explicit SiteAt(const QByteArray& address) : m_before(qgetenv("KORVALO_SERVER")) {
    qputenv("KORVALO_SERVER", address);
  }
  ~SiteAt() { qputenv("KORVALO_SERVER", m_before); }

 private:
  QByteArray m_before;
};

/// Answers the next question the game asks, as a player clicking Yes or No.
class QuestionAnswerer : public QObject {
 public:
  explicit QuestionAnswerer(bool yes) : m_yes(yes) {
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      text = box->text();
      ++questions;
      box->button(m_yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    m_timer.start();
  }
  QString text;
  int questions = 0;

 private:
  bool m_yes;
  QTimer m_timer;
};

void Play(CGameWindow& window, std::initializer_list<Qt::Key> keys) {
  for (Qt::Key key : keys) QTest::keyClick(&window, key);
}

void SetConsent(CGameWindow& window, bool on) {
  // Through the menu item, as the player changes it.
  QAction* item = window.attempts()->consentAction();
  if (item->isChecked() != on) item->trigger();
}

struct SiteAnswer {
  int status = 0;
  QJsonObject body;
};

SiteAnswer AskSite(const QString& method, const QString& path, const QByteArray& body = {}) {
  QNetworkAccessManager network;
  QNetworkRequest request(QUrl(qEnvironmentVariable("KORVALO_SERVER") + path));
  request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
  QNetworkReply* reply = method == "GET" ? network.get(request) : network.post(request, body);
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);  // a loaded machine, not a hang
  loop.exec();
  SiteAnswer answer;
  answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  answer.body = QJsonDocument::fromJson(reply->readAll()).object();
  reply->deleteLater();
  return answer;
}

int PlaysOf(const char* code) {
  const SiteAnswer answer = AskSite("GET", QStringLiteral("/api/levels/") + code);
  EXPECT_EQ(answer.status, 200);
  return answer.body.value("plays").toInt(-1);
}

/// Waits until the window's records are all taken or given up.
void Settle(CGameWindow& window) {
  QTRY_COMPARE_WITH_TIMEOUT(window.attempts()->sender().Pending(), 0, 60000);
}

TEST(PlayRecords, ConsentIsAskedOnceAndKept) {
  QSettings().clear();
  QString session;
  {
    CGameWindow window(StartOf({TwoMoveCode}), FixedSource());
    EXPECT_FALSE(RecordsConsent());
    EXPECT_FALSE(window.attempts()->consentAction()->isChecked());
    QuestionAnswerer player(true);
    EXPECT_TRUE(window.attempts()->AskOnFirstUse());
    EXPECT_EQ(player.questions, 1);
    // What is sent, and where.
    for (const char* said : {"the level", "session", "solved", "moves", "undos", "hints",
                             "restarts", "seconds", "version"})
      EXPECT_TRUE(player.text.contains(QLatin1String(said))) << said;
    EXPECT_EQ(RecordsConsent(), true);
    EXPECT_TRUE(window.attempts()->consentAction()->isChecked());
    session = RecordsSession();
    EXPECT_TRUE(QRegularExpression("^[0-9a-f]{32}$").match(session).hasMatch())
        << session.toStdString();
  }
  QSettings().sync();
  {
    CGameWindow window(StartOf({TwoMoveCode}), FixedSource());
    QuestionAnswerer player(false);
    EXPECT_FALSE(window.attempts()->AskOnFirstUse());
    QTest::qWait(100);
    EXPECT_EQ(player.questions, 0);
    EXPECT_TRUE(window.attempts()->consentAction()->isChecked());
    EXPECT_EQ(RecordsSession(), session);  // made once, then kept
    // The menu item changes the answer for good.
    window.attempts()->consentAction()->trigger();
    EXPECT_EQ(RecordsConsent(), false);
  }
  CGameWindow window(StartOf({TwoMoveCode}), FixedSource());
  EXPECT_FALSE(window.attempts()->consentAction()->isChecked());
  EXPECT_FALSE(window.attempts()->AskOnFirstUse());
}

class PlayRecordsOnTheSite : public ::testing::Test {
 protected:
  void SetUp() override {
    if (qEnvironmentVariable("KORVALO_SERVER").isEmpty())
      GTEST_SKIP() << "KORVALO_SERVER names no site: run through tests/web/local_site.py";
    const SiteAnswer published =
        AskSite("POST", "/api/levels",
                QByteArray("{\"code\": \"") + TwoMoveCode + "\", \"title\": \"Two moves\"}");
    ASSERT_TRUE(published.status == 201 || published.status == 200) << published.status;
  }
};

TEST_F(PlayRecordsOnTheSite, NothingIsSentWithoutConsentAndEachAttemptWithIt) {
  const int before = PlaysOf(TwoMoveCode);
  {
    CGameWindow window(StartOf({TwoMoveCode}), FixedSource());
    SetConsent(window, false);
    Play(window, {Qt::Key_Up, Qt::Key_Left});
    ASSERT_TRUE(window.game().IsSolved());
    EXPECT_EQ(window.attempts()->sender().Pending(), 0);
    window.close();
    EXPECT_EQ(window.attempts()->sender().Taken(), 0);
  }
  EXPECT_EQ(PlaysOf(TwoMoveCode), before);

  {
    // The editor's level under test stays on the machine, whatever the answer.
    CGameWindow window(StartOf({std::string(TwoMoveCode) + " Level Editor"}), FixedSource());
    SetConsent(window, true);
    Play(window, {Qt::Key_Up, Qt::Key_Left});
    ASSERT_TRUE(window.game().IsSolved());
    window.close();
    EXPECT_EQ(window.attempts()->sender().Taken() + window.attempts()->sender().Pending(), 0);
  }
  EXPECT_EQ(PlaysOf(TwoMoveCode), before);

  CGameWindow window(StartOf({TwoMoveCode}), FixedSource());
  SetConsent(window, true);
  // An undo, a hint and a restart, then solved: one attempt.
  Play(window, {Qt::Key_Up, Qt::Key_Backspace, Qt::Key_H, Qt::Key_Right, Qt::Key_R, Qt::Key_Up,
                Qt::Key_Left});
  ASSERT_TRUE(window.game().IsSolved());
  Settle(window);
  EXPECT_EQ(window.attempts()->sender().Taken(), 1);
  EXPECT_EQ(PlaysOf(TwoMoveCode), before + 1);
  // The solving move taken back and another move: given up when the game closes.
  Play(window, {Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Up});
  window.close();
  EXPECT_EQ(window.attempts()->sender().Pending(), 0);
  EXPECT_EQ(window.attempts()->sender().Taken(), 2);
  const SiteAnswer figures = AskSite("GET", QStringLiteral("/api/levels/") + TwoMoveCode);
  EXPECT_EQ(figures.body.value("plays").toInt(), before + 2);
  EXPECT_GT(figures.body.value("solved_first").toDouble(), 0.0);
}

TEST(PlayRecords, ASiteOutOfReachCostsPlayNothing) {
  const SiteAt nowhere("http://127.0.0.1:" + QByteArray::number(ClosedPort()));
  CGameWindow window(StartOf({TwoMoveCode}), FixedSource());
  SetConsent(window, true);
  QElapsedTimer clock;
  clock.start();
  Play(window, {Qt::Key_Up, Qt::Key_Left});
  ASSERT_TRUE(window.game().IsSolved());
  EXPECT_LT(clock.elapsed(), 5000);  // a bound far from any wait for the site, not a timing
  // Tried a few times, then dropped without a word.
  QTRY_COMPARE_WITH_TIMEOUT(window.attempts()->sender().Pending(), 0, 30000);
  EXPECT_EQ(window.attempts()->sender().Dropped(), 1);
  Play(window, {Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Up});
  EXPECT_EQ(window.game().MoveCount(), 1);
  window.close();
  EXPECT_EQ(window.attempts()->sender().Dropped(), 2);  // the last attempt, given up
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(PlayRecords, TheEditorsGameNeitherAsksNorSendsOnAnyLevelOfItsSet) {
  // A set of two levels solved with consent: two attempts, which a
  // player's game sends and the game the editor's Test Set started keeps.
  const SiteAt nowhere("http://127.0.0.1:" + QByteArray::number(ClosedPort()));
  QTemporaryDir folder;
  const std::string path = folder.filePath("set.txt").toStdString();
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(TwoMoveCode) + "\n5020100030201ffbfeffbfe55\n");
  file.close();
  struct Case {
    const char* name;
    std::vector<std::string> arguments;
    int sent;
  };
  for (const Case& c : {Case{"a player's set", {path}, 2},
                        Case{"the editor's Test Set", {path, "Level Editor"}, 0}}) {
    SCOPED_TRACE(c.name);
    QSettings().clear();
    CGameWindow window(
        OpenGameOrSet(c.arguments, FixedSource(), std::make_shared<MemoryProgressStore>()),
        FixedSource());
    ASSERT_TRUE(window.set());
    QuestionAnswerer player(true);
    EXPECT_EQ(window.attempts()->AskOnFirstUse(), c.sent > 0);
    QTest::qWait(100);
    EXPECT_EQ(player.questions, c.sent > 0 ? 1 : 0);
    SetConsent(window, true);
    Play(window, {Qt::Key_Up, Qt::Key_Left});  // solves the first level
    ASSERT_TRUE(window.game().IsSolved());
    Play(window, {Qt::Key_Return, Qt::Key_Right});  // the second level, solved in one move
    EXPECT_EQ(window.set()->Index(), 1);
    window.close();
    const CRecordSender& sender = window.attempts()->sender();
    EXPECT_EQ(sender.Pending() + sender.Taken() + sender.Dropped(), c.sent);
  }
}

TEST(PlayRecords, ASiteThatNeverAnswersGetsOneRequestAtATime) {
  QTcpServer silent;  // takes connections and never answers
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
  int connections = 0;
  QObject::connect(&silent, &QTcpServer::newConnection, [&] {
    while (silent.hasPendingConnections()) {
      silent.nextPendingConnection();
      ++connections;
    }
  });
  CRecordSender sender(QStringLiteral("http://127.0.0.1:%1").arg(silent.serverPort()));
  for (int i = 0; i < 20; ++i) sender.Send("{}");
  QTRY_COMPARE(connections, 1);
  QTest::qWait(300);
  EXPECT_EQ(connections, 1);
  EXPECT_EQ(sender.Pending(), MostQueuedRecords + 1);  // the queue and the one on its way
  EXPECT_EQ(sender.Dropped(), 20 - MostQueuedRecords - 1);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // A fresh settings folder, as a new player's.
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
  qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  QCoreApplication::setOrganizationName("Vandrel");
  QCoreApplication::setApplicationName("Korvalo");
  return RUN_ALL_TESTS();
}
