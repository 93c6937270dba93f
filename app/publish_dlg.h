#pragma once
// Designer mode's "Publish" dialog: the level on the board, with a title, an
// optional author and a short description, published on the sharing site
// (KORVALO_SERVER, or the server the editor was built for) through its API.
// It shows the level's public address, to copy or open, and keeps the edit
// token in the user's data (app/edit_tokens.h). The request runs in the
// background; the dialog stays responsive and can be closed at any time.

#include <QDialog>
#include <QPointer>
#include <QString>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QNetworkAccessManager;
class QNetworkReply;
class QPushButton;

class CPublishDlg : public QDialog {
  Q_OBJECT
 public:
  /// `code` is the level's code as the editor writes it.
  explicit CPublishDlg(const QString& code, QWidget* parent = nullptr);
  ~CPublishDlg() override;

  QLineEdit* titleEdit() const { return m_title; }
  QLineEdit* authorEdit() const { return m_author; }
  QLineEdit* descriptionEdit() const { return m_description; }
  QPushButton* publishButton() const { return m_publish; }
  /// The public address once published; empty before.
  QLineEdit* addressEdit() const { return m_address; }
  QLabel* outcomeLabel() const { return m_outcome; }

 private:
  void Publish();
  void Published(QNetworkReply* reply);

  QString m_code;
  QLineEdit* m_title;
  QLineEdit* m_author;
  QLineEdit* m_description;
  QLineEdit* m_address;
  QLabel* m_outcome;
  QPushButton* m_publish;
  QNetworkAccessManager* m_network;
  QPointer<QNetworkReply> m_reply;
};
