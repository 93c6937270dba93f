// Designer mode's File > Publish: the board's level on the sharing site.

#include <QString>

#include "app/main_frame.h"
#include "app/publish_dlg.h"
#include "logic/level_code.h"

void CMainFrame::OnFilePublish() {
  CPublishDlg dialog(QString::fromStdString(WriteLevelCode(m_view->level())), this);
  dialog.exec();
}
