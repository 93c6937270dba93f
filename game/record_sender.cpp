#include "game/record_sender.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

/// Milliseconds before the retry after the given number of tries.
int RetryDelay(int tries) { return tries <= 1 ? 2000 : 8000; }

/// Whether a later try might be taken: no answer at all, the site busy or
/// failing. A refusal of the record itself (400, 404, 409, 413) stays one.
bool WorthRetrying(QNetworkReply* reply) {
  const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (!status.isValid()) return true;
  const int code = status.toInt();
  return code == 429 || code >= 500;
}

}  // namespace

CRecordSender::CRecordSender(QString site, QObject* parent)
    : QObject(parent),
      m_site(std::move(site)),
      m_network(new QNetworkAccessManager(this)),
      m_retry(new QTimer(this)) {
  m_retry->setSingleShot(true);
  connect(m_retry, &QTimer::timeout, this, &CRecordSender::SendNext);
}

CRecordSender::~CRecordSender() {
  if (m_reply) {
    m_reply->disconnect(this);
    m_reply->abort();
  }
}

void CRecordSender::Send(const QByteArray& record) {
  if (m_queue.size() >= MostQueuedRecords) {
    m_queue.removeFirst();
    ++m_dropped;
  }
  m_queue.append(record);
  if (m_current.isEmpty()) SendNext();
}

void CRecordSender::SendNext() {
  if (m_current.isEmpty()) {
    if (m_queue.isEmpty()) return;
    m_current = m_queue.takeFirst();
    m_tries = 0;
  }
  ++m_tries;
  QNetworkRequest request(QUrl(m_site + QStringLiteral("/api/attempts")));
  request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
  request.setTransferTimeout(TryTimeout);
  m_reply = m_network->post(request, m_current);
  connect(m_reply, &QNetworkReply::finished, this, &CRecordSender::Answered);
}

void CRecordSender::Answered() {
  QNetworkReply* reply = m_reply;
  m_reply = nullptr;
  reply->deleteLater();
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  if (status >= 200 && status < 300) {
    Settle(true);
  } else if (WorthRetrying(reply) && m_tries < MostTries) {
    TryAgainLater();
  } else {
    Settle(false);
  }
  if (m_current.isEmpty()) SendNext();
  emit answered();
}

void CRecordSender::TryAgainLater() { m_retry->start(RetryDelay(m_tries)); }

void CRecordSender::Settle(bool taken) {
  m_current.clear();
  m_tries = 0;
  ++(taken ? m_taken : m_dropped);
}

void CRecordSender::Drain(int milliseconds) {
  QElapsedTimer clock;
  clock.start();
  while (Pending() > 0) {
    const int left = milliseconds - static_cast<int>(clock.elapsed());
    if (left <= 0) return;
    // A retry waiting is sent now: the game is ending.
    if (m_retry->isActive()) {
      m_retry->stop();
      SendNext();
    }
    QEventLoop loop;
    connect(this, &CRecordSender::answered, &loop, &QEventLoop::quit);
    QTimer::singleShot(left, &loop, &QEventLoop::quit);
    loop.exec();
  }
}
