#pragma once
// Designer mode's figures of how people fare on the set's published levels:
// asked of the sharing site's API in the background, one level at a time,
// and kept in the user's data folder (play_figures.txt, written whole or not
// at all), so that the last figures known are shown without the site. What
// to ask for and how the copy reads are the rules of editing/play_figures.h.

#include <QObject>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "editing/play_figures.h"

class QNetworkAccessManager;
class QNetworkReply;

/// The file the copy is kept in.
QString PlayFiguresPath();

/// "People: 12 plays · 58% at first try · median 41 s" and on a second line
/// "Rating 1623, provisional · likes 3, dislikes 1", or what is known instead.
QString PlayFiguresText(FiguresKnown known, const PlayFigures* figures);

class CPlayFiguresFetcher : public QObject {
  Q_OBJECT
 public:
  /// Reads the copy kept; the site is asked only when Want is called.
  explicit CPlayFiguresFetcher(QObject* parent = nullptr);
  ~CPlayFiguresFetcher() override;

  /// Asks the site, in the background, for those of the levels (codes in any
  /// form) that have no fresh answer; replaces what an earlier call still
  /// waited for.
  void Want(const std::vector<std::string>& codes);
  /// The figures known of the level (any form of its code); null when none.
  const PlayFigures* Find(const std::string& code) const { return FindFigures(m_cache, code); }
  /// The lines of people's figures for the levels of the set; none while no
  /// level of the set is known to be published.
  QStringList Lines(const std::vector<std::string>& setCodes) const;
  /// Whether levels still wait for the site's answer.
  bool Busy() const { return m_reply != nullptr || !m_waiting.isEmpty(); }

 signals:
  /// New figures arrived (and were kept), or the last level was answered.
  void changed();

 private:
  void AskNext();
  void Answered();
  void Keep();

  QNetworkAccessManager* m_network;
  PlayFiguresCache m_cache;
  QStringList m_waiting;  // canonical codes
  QNetworkReply* m_reply = nullptr;
  QString m_asked;                // the code of m_reply
  std::int64_t m_quietUntil = 0;  // after the site could not be reached, it is left alone a while
};
