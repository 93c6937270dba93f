// Designer mode's Publish dialog against the real site: with KORVALO_SERVER
// naming a local lighttpd (local_site.py starts it and sets the variable),
// the board's level is published, its public address shown and its edit
// token kept in the user's data (a test location here); the site's refusals
// are shown with its reason.

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include "app/edit_tokens.h"
#include "app/publish_dlg.h"
#include "app/web_addresses.h"
#include "logic/canonical_code.h"
#include "logic/level_code.h"

namespace {

constexpr const char* TwoMoves = "3111221000110fbe5";
constexpr const char* TwoMovesTurned = "3110110221221fbe5";  // its canonical form
constexpr const char* NoSolution = "3001122221100fbe5";

/// Publishes through a dialog and waits for the site's answer; the dialog's outcome line.
QString PublishWith(CPublishDlg& dialog, const QString& title) {
  dialog.titleEdit()->setText(title);
  const QString before = dialog.outcomeLabel()->text();
  QTest::mouseClick(dialog.publishButton(), Qt::LeftButton);
  [&] { QTRY_VERIFY_WITH_TIMEOUT(dialog.publishButton()->isEnabled(), 60000); }();
  return dialog.outcomeLabel()->text();
}

TEST(PublishDialog, PublishesTheLevelAndKeepsItsToken) {
  QFile::remove(EditTokensPath());
  CPublishDlg dialog(QString::fromLatin1(TwoMoves));
  dialog.show();
  EXPECT_TRUE(PublishWith(dialog, QStringLiteral("  ")).contains(QStringLiteral("title first")));
  EXPECT_TRUE(dialog.addressEdit()->text().isEmpty());

  const QString outcome = PublishWith(dialog, QStringLiteral("Two <moves> & \"more\""));
  EXPECT_TRUE(outcome.contains(EditTokensPath())) << outcome.toStdString();
  EXPECT_EQ(dialog.addressEdit()->text(),
            ServerAddress() + QStringLiteral("/levels/") + TwoMovesTurned);
  const auto kept = FindEditToken(QString::fromLatin1(TwoMovesTurned));
  ASSERT_TRUE(kept);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(kept->token).hasMatch());
  EXPECT_EQ(kept->address, dialog.addressEdit()->text());

  // The same level again, in another form: the address it has, the token kept as it was.
  CPublishDlg again(QString::fromLatin1(TwoMovesTurned));
  EXPECT_TRUE(
      PublishWith(again, QStringLiteral("Again")).contains(QStringLiteral("published already")));
  EXPECT_EQ(again.addressEdit()->text(), dialog.addressEdit()->text());
  EXPECT_EQ(FindEditToken(QString::fromLatin1(TwoMovesTurned))->token, kept->token);
}

TEST(PublishDialog, ShowsTheSitesReasonForARefusal) {
  CPublishDlg dialog(QString::fromLatin1(NoSolution));
  const QString outcome = PublishWith(dialog, QStringLiteral("Stuck"));
  EXPECT_TRUE(outcome.contains(QStringLiteral("The level has no solution.")))
      << outcome.toStdString();
  EXPECT_TRUE(dialog.addressEdit()->text().isEmpty());
}

}  // namespace
