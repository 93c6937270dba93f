#pragma once
// Sends the game's play records to the sharing site in the background: one
// request at a time, a short timeout, a few retries when the site could not
// be reached or was busy, and a short queue that drops the oldest record
// rather than pile up. Nothing is ever shown: play goes on whatever happens.

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

/// Records waiting at most; a further one pushes out the oldest.
inline constexpr int MostQueuedRecords = 16;
/// Tries of one record at most (the first and the retries).
inline constexpr int MostTries = 3;
/// Milliseconds one try may take before it counts as failed.
inline constexpr int TryTimeout = 5000;

class CRecordSender : public QObject {
  Q_OBJECT
 public:
  /// site: the site's address, without a trailing slash.
  explicit CRecordSender(QString site, QObject* parent = nullptr);
  ~CRecordSender() override;

  /// Queues the JSON body of POST /api/attempts; returns at once.
  void Send(const QByteArray& record);
  /// Waits, running the event loop, until every record is sent or dropped or
  /// the time is over; for the game's end.
  void Drain(int milliseconds);

  /// Records queued or on their way.
  int Pending() const { return static_cast<int>(m_queue.size()) + (m_current.isEmpty() ? 0 : 1); }
  /// Records the site took (202), and those given up (refused, or out of tries).
  int Taken() const { return m_taken; }
  int Dropped() const { return m_dropped; }

 signals:
  /// The site answered a try, or none came.
  void answered();

 private:
  void SendNext();
  void Answered();
  /// The record in flight failed in a way a later try may mend.
  void TryAgainLater();
  void Settle(bool taken);

  QString m_site;
  QNetworkAccessManager* m_network;
  QTimer* m_retry;
  QList<QByteArray> m_queue;
  QByteArray m_current;  // the record in flight or waiting for its retry
  int m_tries = 0;       // of m_current
  QNetworkReply* m_reply = nullptr;
  int m_taken = 0;
  int m_dropped = 0;
};
