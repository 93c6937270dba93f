#pragma once
// Open Set: the level sets a player can open from inside the game, the
// installed ones (the campaign's chapters, the example sets) and those played
// lately, or any file.

#include <QDialog>
#include <QStringList>

class QListWidget;

/// The settings key of the sets played lately, newest first.
inline constexpr const char* RecentSetsKey = "sets/recent";
/// How many sets played lately are remembered.
inline constexpr int RecentSetCount = 8;

/// Puts path first among the sets played lately.
void RememberRecentSet(const QString& path);

class CSetChooser : public QDialog {
 public:
  /// installed: the level-set files the game ships.
  CSetChooser(const QStringList& installed, QWidget* parent = nullptr);
  /// The file chosen; empty when none.
  QString Chosen() const { return m_chosen; }

 private:
  void ChooseListed();
  void Browse();

  QListWidget* m_sets = nullptr;
  QString m_chosen;
};
