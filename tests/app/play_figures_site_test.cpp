// Designer mode's figures of how people fare, from the real site: with
// KORVALO_SERVER naming a local lighttpd and korvz on a SQLite file
// (local_site.py starts it and sets the variable), a published level's
// figures are fetched after a play record, kept in the user's data folder (a
// test location here), and shown from that copy once the site is gone.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include "app/play_figures_fetcher.h"

namespace {

constexpr const char* TwoMoves = "3111221000110fbe5";  // N then W solves it
constexpr const char* NotPublishedLevel = "3001122221100fbe5";

int Post(const QString& path, const QByteArray& body) {
  QNetworkAccessManager network;
  QNetworkRequest request(QUrl(qEnvironmentVariable("KORVALO_SERVER") + path));
  request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
  QNetworkReply* reply = network.post(request, body);
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);  // a loaded machine, not a hang
  loop.exec();
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  reply->deleteLater();
  return status;
}

TEST(PlayFiguresSite, FiguresAreFetchedKeptAndShownWithoutTheSite) {
  const QByteArray site = qgetenv("KORVALO_SERVER");
  if (site.isEmpty()) GTEST_SKIP() << "KORVALO_SERVER names no site: run through local_site.py";
  QFile::remove(PlayFiguresPath());
  const int published =
      Post("/api/levels", QByteArray("{\"code\": \"") + TwoMoves + "\", \"title\": \"Two\"}");
  ASSERT_TRUE(published == 201 || published == 200) << published;
  ASSERT_EQ(Post("/api/attempts",
                 QByteArray("{\"level\": \"") + TwoMoves +
                     "\", \"session\": \"00112233445566778899aabbccddeeff\", \"solved\": true, "
                     "\"moves\": \"NW\", \"undos\": 0, \"hints\": 0, \"restarts\": 0, "
                     "\"seconds\": 12, \"version\": \"1.0\"}"),
            202);

  const std::vector<std::string> set = {TwoMoves, NotPublishedLevel};
  {
    CPlayFiguresFetcher fetcher;
    EXPECT_TRUE(fetcher.Lines(set).isEmpty());  // nothing known yet
    fetcher.Want(set);
    QTRY_VERIFY_WITH_TIMEOUT(!fetcher.Busy(), 60000);
    ASSERT_NE(fetcher.Find(TwoMoves), nullptr);
    EXPECT_GE(fetcher.Find(TwoMoves)->plays, 1);
    EXPECT_EQ(fetcher.Find(TwoMoves)->solvedFirst, 1.0);
    EXPECT_TRUE(fetcher.Find(TwoMoves)->provisional);
    EXPECT_EQ(fetcher.Find(NotPublishedLevel), nullptr);
    EXPECT_TRUE(fetcher.Lines(set).value(1).contains("not published"));
  }
  ASSERT_TRUE(QFile::exists(PlayFiguresPath()));

  // The site gone: the copy answers.
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost);
  const quint16 closed = probe.serverPort();
  probe.close();
  qputenv("KORVALO_SERVER", "http://127.0.0.1:" + QByteArray::number(closed));
  CPlayFiguresFetcher offline;
  ASSERT_NE(offline.Find(TwoMoves), nullptr);
  EXPECT_GE(offline.Find(TwoMoves)->plays, 1);
  const QStringList lines = offline.Lines(set);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[0].startsWith("People: ")) << lines[0].toStdString();
  EXPECT_TRUE(lines[0].contains("100% at first try")) << lines[0].toStdString();
  qputenv("KORVALO_SERVER", site);
}

}  // namespace
