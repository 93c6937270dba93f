#pragma once
// The "Copy" dialog: shows the level code for the user to copy and takes an
// edited or pasted code back. Designer mode calls it "Level Code".

#include <QDialog>
#include <QString>

#include "app/editor_mode.h"

class QLineEdit;

class CLevelCodeDlg : public QDialog {
  Q_OBJECT
 public:
  /// The classic dialog "Copy" keeps its exact size and font; designer mode's
  /// "Level Code" is laid out for the system font, says what to do, and
  /// grows with its text.
  explicit CLevelCodeDlg(QWidget* parent = nullptr, EditorMode mode = EditorMode::Classic);

  /// Shows m_strCode with its whole text selected and runs the dialog. On
  /// Accepted (Enter) the edit box is read back into m_strCode; on Rejected
  /// (Escape, close box) m_strCode stays as it was.
  int DoModal();

  QLineEdit* codeEdit() const { return m_edit; }

  QString m_strCode;

 private:
  void LayOutClassic();
  void LayOutForDesigner();

  QLineEdit* m_edit;
};
