#include "game/set_chooser.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>

namespace {

void AddSets(QListWidget* list, const QString& heading, const QStringList& paths) {
  if (paths.isEmpty()) return;
  auto* title = new QListWidgetItem(heading, list);
  title->setFlags(Qt::NoItemFlags);
  for (const QString& path : paths) {
    auto* item = new QListWidgetItem(QStringLiteral("    ") + QFileInfo(path).fileName(), list);
    item->setData(Qt::UserRole, path);
    item->setToolTip(path);
  }
}

}  // namespace

void RememberRecentSet(const QString& path) {
  QSettings settings;
  QStringList recent = settings.value(RecentSetsKey).toStringList();
  const QString absolute = QFileInfo(path).absoluteFilePath();
  recent.removeAll(absolute);
  recent.prepend(absolute);
  settings.setValue(RecentSetsKey, recent.mid(0, RecentSetCount));
}

CSetChooser::CSetChooser(const QStringList& installed, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QCoreApplication::translate("SetChooser", "Open Set"));
  auto* layout = new QVBoxLayout(this);
  m_sets = new QListWidget(this);
  m_sets->setObjectName("sets");
  m_sets->setMinimumSize(360, 300);
  QStringList recent;
  for (const QString& path : QSettings().value(RecentSetsKey).toStringList()) {
    if (QFileInfo(path).isFile()) recent << path;
  }
  AddSets(m_sets, QCoreApplication::translate("SetChooser", "Played lately"), recent);
  AddSets(m_sets, QCoreApplication::translate("SetChooser", "Installed"), installed);
  layout->addWidget(m_sets);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
  QPushButton* browse = buttons->addButton(
      QCoreApplication::translate("SetChooser", "Other &File..."), QDialogButtonBox::ActionRole);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &CSetChooser::ChooseListed);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_sets, &QListWidget::itemActivated, this, &CSetChooser::ChooseListed);
  connect(browse, &QPushButton::clicked, this, &CSetChooser::Browse);
  for (int row = 0; row < m_sets->count(); ++row) {
    if (m_sets->item(row)->flags() != Qt::NoItemFlags) {
      m_sets->setCurrentRow(row);
      break;
    }
  }
}

void CSetChooser::ChooseListed() {
  const QListWidgetItem* item = m_sets->currentItem();
  if (item == nullptr || item->data(Qt::UserRole).toString().isEmpty()) return;
  m_chosen = item->data(Qt::UserRole).toString();
  accept();
}

void CSetChooser::Browse() {
  const QString path = QFileDialog::getOpenFileName(
      this, QCoreApplication::translate("SetChooser", "Open Set"), QString(),
      QCoreApplication::translate("SetChooser", "Level sets (*.txt *.korvalo);;All files (*)"));
  if (path.isEmpty()) return;
  m_chosen = path;
  accept();
}
