#include "game/level_picker.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString ChapterLine(const CampaignChapter& chapter, int number, const ProgressStore& progress) {
  return QCoreApplication::translate("LevelPicker", "%1. %2 (%3 of %4 solved)")
      .arg(number)
      .arg(QString::fromStdString(chapter.set.title))
      .arg(SolvedLevels(chapter.set, progress))
      .arg(chapter.set.levels.size());
}

QStringList RowTexts(const PickerRow& row) {
  const QString level =
      row.title.empty()
          ? QString::number(row.number)
          : QStringLiteral("%1. %2").arg(row.number).arg(QString::fromStdString(row.title));
  const QString best = row.fewest ? QString::number(*row.fewest)
                                  : QCoreApplication::translate("LevelPicker", "not solved");
  const QString shortest = row.shortest ? QString::number(*row.shortest)
                                        : QCoreApplication::translate("LevelPicker", "none");
  return {level, best, shortest, StarsText(row.stars)};
}

}  // namespace

QString StarsText(int stars) {
  QString text;
  for (int i = 0; i < 3; ++i) text += i < stars ? QChar(0x2605) : QChar(0x2606);
  return text;
}

CLevelPicker::CLevelPicker(const Campaign& campaign, const ProgressStore& progress,
                           CampaignPlace place, QWidget* parent)
    : QDialog(parent), m_campaign(campaign), m_progress(progress) {
  setWindowTitle(QCoreApplication::translate("LevelPicker", "Levels"));
  auto* layout = new QVBoxLayout(this);
  // Alt+C is Cancel's on desktops whose standard buttons have letters.
  auto* chapterLabel = new QLabel(QCoreApplication::translate("LevelPicker", "C&hapter:"), this);
  m_chapters = new QComboBox(this);
  m_chapters->setObjectName("chapters");
  chapterLabel->setBuddy(m_chapters);
  for (std::size_t c = 0; c < campaign.chapters.size(); ++c) {
    m_chapters->addItem(ChapterLine(campaign.chapters[c], static_cast<int>(c) + 1, progress));
  }
  layout->addWidget(chapterLabel);
  layout->addWidget(m_chapters);

  m_levels = new QTreeWidget(this);
  m_levels->setObjectName("levels");
  m_levels->setRootIsDecorated(false);
  m_levels->setHeaderLabels({QCoreApplication::translate("LevelPicker", "Level"),
                             QCoreApplication::translate("LevelPicker", "Best moves"),
                             QCoreApplication::translate("LevelPicker", "Shortest"),
                             QCoreApplication::translate("LevelPicker", "Stars")});
  m_levels->setMinimumSize(420, 320);
  m_levels->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  m_levels->header()->setStretchLastSection(false);
  layout->addWidget(m_levels);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)
      ->setText(QCoreApplication::translate("LevelPicker", "&Play"));
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_levels, &QTreeWidget::itemActivated, this, &QDialog::accept);
  connect(m_chapters, &QComboBox::currentIndexChanged, this, [this](int chapter) {
    ShowChapter(chapter);
    m_levels->setCurrentItem(m_levels->topLevelItem(0));
  });

  m_chapters->setCurrentIndex(place.chapter);
  ShowChapter(place.chapter);
  m_levels->setCurrentItem(m_levels->topLevelItem(place.level));
  m_levels->setFocus();
}

void CLevelPicker::ShowChapter(int chapter) {
  m_levels->clear();
  if (chapter < 0) return;
  const PlayableSet& set = m_campaign.chapters[static_cast<std::size_t>(chapter)].set;
  for (const PickerRow& row : PickerRows(set, m_progress)) {
    auto* item = new QTreeWidgetItem(m_levels, RowTexts(row));
    for (int column = 1; column < 4; ++column) item->setTextAlignment(column, Qt::AlignCenter);
  }
}

CampaignPlace CLevelPicker::Chosen() const {
  QTreeWidgetItem* item = m_levels->currentItem();
  return {m_chapters->currentIndex(), item ? m_levels->indexOfTopLevelItem(item) : 0};
}
