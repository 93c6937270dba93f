#include "app/play_figures_fetcher.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QStandardPaths>
#include <cmath>

#include "view/site_address.h"

namespace {

/// Milliseconds one level's answer may take.
constexpr int AnswerTimeout = 5000;
/// Seconds the site is left alone after it could not be reached.
constexpr std::int64_t QuietAfterFailure = 60;
/// The largest copy read; a larger file is no copy of ours.
constexpr qint64 MostCopyBytes = 4 << 20;

std::int64_t SecondsNow() { return QDateTime::currentSecsSinceEpoch(); }

/// The figures of the site's answer; none when it is not the answer of a
/// published level or its figures cannot be the site's.
std::optional<PlayFigures> FiguresOfAnswer(const QByteArray& body) {
  const QJsonObject answer = QJsonDocument::fromJson(body).object();
  for (const char* name :
       {"plays", "solved_first", "rating", "deviation", "provisional", "likes", "dislikes"})
    if (!answer.contains(QLatin1String(name))) return std::nullopt;
  PlayFigures figures;
  figures.plays = answer.value(QStringLiteral("plays")).toInt(-1);
  figures.solvedFirst = answer.value(QStringLiteral("solved_first")).toDouble(-1.0);
  const QJsonValue median = answer.value(QStringLiteral("median_seconds"));
  if (median.isDouble()) figures.medianSeconds = median.toDouble();
  figures.rating = answer.value(QStringLiteral("rating")).toDouble(NAN);
  figures.deviation = answer.value(QStringLiteral("deviation")).toDouble(-1.0);
  figures.provisional = answer.value(QStringLiteral("provisional")).toBool(true);
  figures.likes = answer.value(QStringLiteral("likes")).toInt(-1);
  figures.dislikes = answer.value(QStringLiteral("dislikes")).toInt(-1);
  if (!PlausibleFigures(figures)) return std::nullopt;
  return figures;
}

PlayFiguresCache ReadCopy() {
  QFile file(PlayFiguresPath());
  if (file.size() > MostCopyBytes || !file.open(QIODevice::ReadOnly)) return {};
  return ReadPlayFiguresCache(file.readAll().toStdString());
}

}  // namespace

QString PlayFiguresPath() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/play_figures.txt");
}

QString PlayFiguresText(FiguresKnown known, const PlayFigures* figures) {
  if (known == FiguresKnown::NotPublished)
    return QCoreApplication::translate("PlayFigures", "People: not published");
  if (known == FiguresKnown::Nothing || figures == nullptr)
    return QCoreApplication::translate("PlayFigures", "People: no figures from the site yet");
  if (figures->plays == 0)
    return QCoreApplication::translate("PlayFigures", "People: published, not played yet");
  // Two lines, to fit the panel: how often and how fast, then how hard and how liked.
  QStringList played{
      QCoreApplication::translate("PlayFigures", "People: %n play(s)", nullptr, figures->plays),
      QCoreApplication::translate("PlayFigures", "%1% at first try")
          .arg(std::lround(figures->solvedFirst * 100.0))};
  if (figures->medianSeconds)
    played << QCoreApplication::translate("PlayFigures", "median %1 s")
                  .arg(std::lround(*figures->medianSeconds));
  const QStringList judged{
      (figures->provisional ? QCoreApplication::translate("PlayFigures", "Rating %1, provisional")
                            : QCoreApplication::translate("PlayFigures", "Rating %1"))
          .arg(std::lround(figures->rating)),
      QCoreApplication::translate("PlayFigures", "likes %1, dislikes %2")
          .arg(figures->likes)
          .arg(figures->dislikes)};
  const QString separator = QStringLiteral(" \u00b7 ");
  return played.join(separator) + QLatin1Char('\n') + judged.join(separator);
}

QStringList CPlayFiguresFetcher::Lines(const std::vector<std::string>& setCodes) const {
  QStringList lines;
  if (!ShowsPlayFigures(m_cache, setCodes)) return lines;
  for (const std::string& code : setCodes)
    lines << PlayFiguresText(KnownOf(m_cache, code), FindFigures(m_cache, code));
  return lines;
}

CPlayFiguresFetcher::CPlayFiguresFetcher(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)), m_cache(ReadCopy()) {}

CPlayFiguresFetcher::~CPlayFiguresFetcher() {
  if (m_reply) {
    m_reply->disconnect(this);
    m_reply->abort();
  }
}

void CPlayFiguresFetcher::Want(const std::vector<std::string>& codes) {
  m_waiting.clear();
  if (SecondsNow() < m_quietUntil) return;
  for (const std::string& code : CodesToFetch(codes, m_cache, SecondsNow()))
    if (QString::fromStdString(code) != m_asked) m_waiting << QString::fromStdString(code);
  if (!m_reply) AskNext();
}

void CPlayFiguresFetcher::AskNext() {
  if (m_waiting.isEmpty()) return;
  m_asked = m_waiting.takeFirst();
  QNetworkRequest request(QUrl(SiteAddress() + QStringLiteral("/api/levels/") + m_asked));
  request.setTransferTimeout(AnswerTimeout);
  m_reply = m_network->get(request);
  connect(m_reply, &QNetworkReply::finished, this, &CPlayFiguresFetcher::Answered);
}

// An answer of the site (the figures, or 404 for a level not published) is
// kept; without one (the site unreachable, busy, or an answer that cannot be
// the site's) the copy keeps what it had, and the rest waits for another Want.
void CPlayFiguresFetcher::Answered() {
  QNetworkReply* reply = m_reply;
  m_reply = nullptr;
  reply->deleteLater();
  const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
  const std::string code = m_asked.toStdString();
  m_asked.clear();
  std::optional<PlayFigures> figures;
  if (status == 200) figures = FiguresOfAnswer(reply->readAll());
  if (status == 404 || figures) {
    m_cache[code] = PlayFiguresEntry{SecondsNow(), figures};
    Keep();
  } else if (reply->error() != QNetworkReply::NoError && status == 0) {
    // The site cannot be reached: no use asking for the others now.
    m_waiting.clear();
    m_quietUntil = SecondsNow() + QuietAfterFailure;
  }
  AskNext();
  emit changed();
}

void CPlayFiguresFetcher::Keep() {
  QDir().mkpath(QFileInfo(PlayFiguresPath()).absolutePath());
  QSaveFile file(PlayFiguresPath());
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write(QByteArray::fromStdString(WritePlayFiguresCache(m_cache)));
  file.commit();  // a copy not kept is asked for again next time
}
