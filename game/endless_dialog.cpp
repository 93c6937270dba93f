#include "game/endless_dialog.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>

#include "view/grade_wording.h"

CEndlessDialog::CEndlessDialog(EndlessChoice choice, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QCoreApplication::translate("EndlessDialog", "Endless Play"));
  auto* form = new QFormLayout(this);
  m_size = new QComboBox(this);
  m_size->setObjectName("size");
  for (const int size : {3, 5, 7}) {
    m_size->addItem(QCoreApplication::translate("EndlessDialog", "%1 x %1").arg(size), size);
  }
  m_size->setCurrentIndex(m_size->findData(choice.size));
  m_grade = new QComboBox(this);
  m_grade->setObjectName("grade");
  for (const Grade grade : AllGrades) m_grade->addItem(GradeWord(grade), static_cast<int>(grade));
  m_grade->setCurrentIndex(m_grade->findData(static_cast<int>(choice.grade)));
  form->addRow(QCoreApplication::translate("EndlessDialog", "Board &size:"), m_size);
  form->addRow(QCoreApplication::translate("EndlessDialog", "&Grade:"), m_grade);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

EndlessChoice CEndlessDialog::Chosen() const {
  return {m_size->currentData().toInt(), static_cast<Grade>(m_grade->currentData().toInt())};
}
