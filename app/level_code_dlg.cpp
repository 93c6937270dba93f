#include "app/level_code_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialog_units.h"

namespace {

/// Room for the longest code (37 characters) with some to spare, in the edit's own font.
constexpr int CodeCharacters = 40;

}  // namespace

CLevelCodeDlg::CLevelCodeDlg(QWidget* parent, EditorMode mode)
    : QDialog(parent, FixedDialogFlags), m_edit(new QLineEdit(this)) {
  if (mode == EditorMode::Classic)
    LayOutClassic();
  else
    LayOutForDesigner();
  // The dialog has no button, so Enter would otherwise do nothing.
  connect(m_edit, &QLineEdit::returnPressed, this, &QDialog::accept);
}

void CLevelCodeDlg::LayOutClassic() {
  setWindowTitle(QStringLiteral("Copy"));
  setFont(DialogFont(font()));
  setFixedSize(DialogUnitSize(175, 30));
  m_edit->setGeometry(DialogUnitRect(7, 7, 161, 15));
}

void CLevelCodeDlg::LayOutForDesigner() {
  setWindowTitle(tr("Level Code"));
  auto* hint = new QLabel(tr("&Copy the level code, or paste another one and press Enter to "
                             "put it on the board. Escape leaves the board as it is."),
                          this);
  hint->setWordWrap(true);
  hint->setBuddy(m_edit);
  m_edit->setMinimumWidth(m_edit->fontMetrics().averageCharWidth() * CodeCharacters);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(hint);
  layout->addWidget(m_edit);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

int CLevelCodeDlg::DoModal() {
  m_edit->setText(m_strCode);
  m_edit->selectAll();
  m_edit->setFocus();
  const int result = exec();
  if (result == QDialog::Accepted) m_strCode = m_edit->text();
  return result;
}
