#include "app/publish_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/edit_tokens.h"
#include "app/web_addresses.h"

namespace {

// The site's limits, so that the fields refuse what it would.
constexpr int MaxTitle = 80;
constexpr int MaxAuthor = 60;
constexpr int MaxDescription = 500;
constexpr int WaitMilliseconds = 30000;

QLineEdit* Field(int longest, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setMaxLength(longest);
  return edit;
}

}  // namespace

CPublishDlg::CPublishDlg(const QString& code, QWidget* parent)
    : QDialog(parent),
      m_code(code),
      m_title(Field(MaxTitle, this)),
      m_author(Field(MaxAuthor, this)),
      m_description(Field(MaxDescription, this)),
      m_address(new QLineEdit(this)),
      m_outcome(new QLabel(this)),
      m_publish(new QPushButton(tr("&Publish"), this)),
      m_network(new QNetworkAccessManager(this)) {
  setWindowTitle(tr("Publish Level"));
  auto* form = new QFormLayout;
  form->addRow(tr("&Title:"), m_title);
  form->addRow(tr("&Author:"), m_author);
  form->addRow(tr("&Description:"), m_description);
  m_address->setReadOnly(true);
  m_address->setPlaceholderText(tr("The level's public address, once published"));
  form->addRow(tr("Add&ress:"), m_address);
  m_outcome->setWordWrap(true);
  m_outcome->setText(tr("The level on the board goes to %1 with these words. Only a level "
                        "with a solution is taken.")
                         .arg(ServerAddress()));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->addButton(m_publish, QDialogButtonBox::ActionRole);
  m_publish->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_publish, &QPushButton::clicked, this, &CPublishDlg::Publish);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_outcome);
  layout->addWidget(buttons);
  m_network->setTransferTimeout(WaitMilliseconds);
}

CPublishDlg::~CPublishDlg() {
  if (m_reply) m_reply->abort();
}

void CPublishDlg::Publish() {
  if (m_title->text().trimmed().isEmpty()) {
    m_outcome->setText(tr("Give the level a title first."));
    m_title->setFocus();
    return;
  }
  QJsonObject body;
  body.insert(QStringLiteral("code"), m_code);
  body.insert(QStringLiteral("title"), m_title->text());
  body.insert(QStringLiteral("author"), m_author->text());
  body.insert(QStringLiteral("description"), m_description->text());
  QNetworkRequest request(QUrl(ServerAddress() + QStringLiteral("/api/levels")));
  request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
  m_publish->setEnabled(false);
  m_outcome->setText(tr("Publishing..."));
  m_reply = m_network->post(request, QJsonDocument(body).toJson(QJsonDocument::Compact));
  connect(m_reply, &QNetworkReply::finished, this,
          [this, reply = m_reply.data()] { Published(reply); });
}

void CPublishDlg::Published(QNetworkReply* reply) {
  reply->deleteLater();
  m_publish->setEnabled(true);
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const QJsonObject answer = QJsonDocument::fromJson(reply->readAll()).object();
  if (status != 200 && status != 201) {
    const QString reason = answer.value(QStringLiteral("error")).toString();
    m_outcome->setText(reason.isEmpty()
                           ? tr("The site could not be reached: %1").arg(reply->errorString())
                           : tr("The site refused the level: %1").arg(reason));
    return;
  }
  QString address = answer.value(QStringLiteral("address")).toString();
  // Without its public address the site answers with addresses relative to itself.
  if (address.startsWith(QLatin1Char('/'))) address.prepend(ServerAddress());
  m_address->setText(address);
  m_address->selectAll();
  m_address->setFocus();
  const QString token = answer.value(QStringLiteral("token")).toString();
  if (token.isEmpty()) {
    m_outcome->setText(tr("This level is published already, at this address."));
  } else if (!KeepEditToken({answer.value(QStringLiteral("code")).toString(), address, token})) {
    m_outcome->setText(tr("Published. Its edit token could not be kept; note it to remove the "
                          "level later: %1")
                           .arg(token));
  } else {
    m_outcome->setText(tr("Published. Its edit token is kept in %1.").arg(EditTokensPath()));
  }
}
