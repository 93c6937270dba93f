#pragma once
// The "Copy" dialog: shows the level code for the user to copy and takes an
// edited or pasted code back.

#include <QDialog>
#include <QString>

class QLineEdit;

class CLevelCodeDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CLevelCodeDlg(QWidget* parent = nullptr);

  /// Shows m_strCode with its whole text selected and runs the dialog. On
  /// Accepted (Enter) the edit box is read back into m_strCode; on Rejected
  /// (Escape, close box) m_strCode stays as it was.
  int DoModal();

  QLineEdit* codeEdit() const { return m_edit; }

  QString m_strCode;

 private:
  QLineEdit* m_edit;
};
