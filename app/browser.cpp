#include "app/browser.h"

#include <QDesktopServices>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

void DropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

/// While it lives, Qt's messages are dropped and standard error goes nowhere,
/// also for the programs started meanwhile, which inherit it.
class QuietStandardError {
 public:
  QuietStandardError() : m_previousHandler(qInstallMessageHandler(DropMessage)) {
#ifdef Q_OS_UNIX
    m_savedError = ::dup(STDERR_FILENO);
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (m_savedError >= 0 && nowhere >= 0) ::dup2(nowhere, STDERR_FILENO);
    if (nowhere >= 0) ::close(nowhere);
#endif
  }
  ~QuietStandardError() {
#ifdef Q_OS_UNIX
    if (m_savedError >= 0) {
      ::dup2(m_savedError, STDERR_FILENO);
      ::close(m_savedError);
    }
#endif
    qInstallMessageHandler(m_previousHandler);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  QtMessageHandler m_previousHandler;
  int m_savedError = -1;
};

}  // namespace

void OpenInBrowser(const QString& address) {
  const QuietStandardError quiet;
  QDesktopServices::openUrl(QUrl(address));
}
