#include "app/level_code_dlg.h"

#include <QLineEdit>

#include "app/dialog_units.h"

CLevelCodeDlg::CLevelCodeDlg(QWidget* parent)
    : QDialog(parent, FixedDialogFlags), m_edit(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Copy"));
  setFont(DialogFont(font()));
  setFixedSize(DialogUnitSize(175, 30));
  m_edit->setGeometry(DialogUnitRect(7, 7, 161, 15));
  // The dialog has no button, so Enter would otherwise do nothing.
  connect(m_edit, &QLineEdit::returnPressed, this, &QDialog::accept);
}

int CLevelCodeDlg::DoModal() {
  m_edit->setText(m_strCode);
  m_edit->selectAll();
  m_edit->setFocus();
  const int result = exec();
  if (result == QDialog::Accepted) m_strCode = m_edit->text();
  return result;
}
