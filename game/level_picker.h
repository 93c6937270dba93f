#pragma once
// The level picker: the chapters of the campaign (or the one set played) and
// their levels, with what the player solved, the best moves against the
// shortest and stars; Enter or a double click plays the level chosen.

#include <QDialog>
#include <memory>

#include "play/campaign.h"

class QComboBox;
class QTreeWidget;

class CLevelPicker : public QDialog {
 public:
  /// Opens on the level at place; the campaign has that chapter and level.
  CLevelPicker(const Campaign& campaign, const ProgressStore& progress, CampaignPlace place,
               QWidget* parent = nullptr);

  /// The level chosen (or the one it opened on).
  CampaignPlace Chosen() const;

 private:
  void ShowChapter(int chapter);

  const Campaign& m_campaign;
  const ProgressStore& m_progress;
  QComboBox* m_chapters = nullptr;
  QTreeWidget* m_levels = nullptr;
};

/// "★★☆" for 2 of 3 stars, for the picker and the game's lines.
QString StarsText(int stars);
