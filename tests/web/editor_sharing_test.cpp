// The editor's three web commands against the real site: with KORVALO_SERVER
// naming a local lighttpd (local_site.py starts it and sets the variable), the
// addresses the editor opens are caught in-process, fetched from that server,
// and their pages are the level's page, the home page and the maker's site.

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>

#include "app/command_table.h"
#include "app/web_addresses.h"
#include "logic/level_code.h"
#include "tests/app/board_view_fixture.h"

namespace {

/// Catches the addresses the editor opens, in place of a browser.
class UrlCatcher : public QObject {
  Q_OBJECT
 public:
  UrlCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open"); }
  ~UrlCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }
  QList<QUrl> opened;
 public slots:
  void open(const QUrl& url) { opened << url; }
};

struct Page {
  int status = 0;
  QString body;
  QUrl address;  // where it was found, after any redirects
};

/// The page at the address, after redirects; status 0 when nothing answered in time.
Page Fetch(const QUrl& address) {
  QNetworkAccessManager network;
  QNetworkReply* reply = network.get(QNetworkRequest(address));
  QEventLoop loop;
  QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(60000, &loop, &QEventLoop::quit);  // a loaded machine, not a hang
  loop.exec();
  Page page;
  if (reply->isFinished()) {
    page.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    page.body = QString::fromUtf8(reply->readAll());
    page.address = reply->url();
  }
  reply->deleteLater();
  return page;
}

class EditorSharingTest : public BoardViewFixture {
 protected:
  void SetUp() override {
    if (qEnvironmentVariable("KORVALO_SERVER").isEmpty())
      GTEST_SKIP() << "KORVALO_SERVER names no server: run through tests/web/local_site.py";
  }
};

TEST_F(EditorSharingTest, GetHtmlOpensThePageOfTheLevelOnTheServerOfTheEnvironment) {
  UrlCatcher browser;
  RunCommand(CommandId("ID_EDIT_GETHTML"));
  ASSERT_EQ(browser.opened.size(), 1);
  const QUrl address = browser.opened[0];
  const QString code = QString::fromStdString(WriteLevelCode(view.level()));
  EXPECT_EQ(address.toString(),
            qEnvironmentVariable("KORVALO_SERVER") + "/cgi-bin/korvz?s=" + code);

  const Page page = Fetch(address);
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.address, address);  // the level's one address: no redirect
  EXPECT_TRUE(page.body.contains("data-code=\"" + code + "\""))
      << page.body.left(600).toStdString();
  EXPECT_TRUE(page.body.contains("<title>Korvalo level " + code + "</title>"));
}

TEST_F(EditorSharingTest, AChangedLevelGetsItsOwnPage) {
  UrlCatcher browser;
  RunCommand(CommandId("ID_GAME_7X7"));
  RunCommand(CommandId("ID_EDIT_GETHTML"));
  ASSERT_EQ(browser.opened.size(), 1);
  const QString code = QString::fromStdString(WriteLevelCode(view.level()));
  ASSERT_EQ(code.size(), 37);
  const Page page = Fetch(browser.opened[0]);
  EXPECT_EQ(page.status, 200);
  EXPECT_EQ(page.address, browser.opened[0]);
  EXPECT_TRUE(page.body.contains("value=\"" + code + "\""));
}

TEST_F(EditorSharingTest, HomepageAndMakersSiteAreThePagesOfTheSite) {
  UrlCatcher browser;
  RunCommand(CommandId("ID_HELP_HOMEPAGE"));
  RunCommand(CommandId("ID_MAKER_SITE"));
  ASSERT_EQ(browser.opened.size(), 2);
  const Page home = Fetch(browser.opened[0]);
  EXPECT_EQ(home.status, 200);
  EXPECT_TRUE(home.body.contains("<title>Korvalo Level Editor</title>"));
  const Page maker = Fetch(browser.opened[1]);
  EXPECT_EQ(maker.status, 200);
  EXPECT_TRUE(maker.body.contains("<title>Vandrel</title>"));
}

}  // namespace

#include "editor_sharing_test.moc"
