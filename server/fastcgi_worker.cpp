#include "server/fastcgi_worker.h"

#include <fcgiapp.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <string>

namespace {

constexpr int ListenSocket = 0;  // where a FastCGI web server puts it

/// The signals that stop the worker. They are held back all the time and read
/// from a signal descriptor, so they interrupt nothing but the wait for the
/// next connection: an answer under way is always finished.
sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&signals, signal);
  return signals;
}

std::string Param(const FCGX_Request& request, const char* name) {
  const char* value = FCGX_GetParam(name, request.envp);
  return value == nullptr ? std::string() : std::string(value);
}

/// The three things of a request an answer may depend on; nothing else is read.
Request RequestOf(const FCGX_Request& accepted) {
  Request request;
  request.method = Param(accepted, "REQUEST_METHOD");
  request.target = Param(accepted, "REQUEST_URI");
  request.ifNoneMatch = Param(accepted, "HTTP_IF_NONE_MATCH");
  return request;
}

/// Works the answer out in full, then writes it and ends the request. The web
/// server holds an answer until its end has come, so a worker that dies
/// half-way leaves an error, never half an answer.
void AnswerOne(FCGX_Request& accepted, SiteAnswers& answers) {
  std::string output;
  try {
    const Request request = RequestOf(accepted);
    output = ResponderOutput(answers.Respond(request), request.method == "HEAD");
  } catch (const std::exception&) {
    // Out of memory or a failed compression: an answer with nothing of the request in it.
    output = ResponderOutput(InternalError(), false);
  }
  FCGX_PutStr(output.data(), static_cast<int>(output.size()), accepted.out);
  FCGX_Finish_r(&accepted);
}

enum class Wake { Connection, Stop, Failure };

Wake WaitForConnectionOrStop(int signals) {
  pollfd watched[2] = {{ListenSocket, POLLIN, 0}, {signals, POLLIN, 0}};
  for (;;) {
    if (poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return Wake::Failure;
    }
    if (watched[1].revents != 0) return Wake::Stop;
    if ((watched[0].revents & POLLIN) != 0) return Wake::Connection;
    if (watched[0].revents != 0) return Wake::Failure;
  }
}

/// Removes the socket's name, so that the web server's next connections fail
/// at once and go to another worker, and makes waiting for a connection end
/// when none is left.
void StopTakingConnections() {
  sockaddr_un address{};
  socklen_t length = sizeof address;
  if (getsockname(ListenSocket, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
      address.sun_family == AF_UNIX && address.sun_path[0] != '\0')
    unlink(address.sun_path);
  fcntl(ListenSocket, F_SETFL, fcntl(ListenSocket, F_GETFL) | O_NONBLOCK);
}

}  // namespace

int ServeFastCgi(SiteAnswers& answers) {
  if (FCGX_Init() != 0) return 1;
  const sigset_t stop = StopSignals();
  sigprocmask(SIG_BLOCK, &stop, nullptr);
  const int signals = signalfd(-1, &stop, SFD_CLOEXEC);
  if (signals < 0) return 1;

  FCGX_Request request;
  FCGX_InitRequest(&request, ListenSocket, 0);
  Wake wake;
  while ((wake = WaitForConnectionOrStop(signals)) == Wake::Connection) {
    if (FCGX_Accept_r(&request) == 0) AnswerOne(request, answers);
  }
  // Asked to stop (or the socket failed): what is waiting is still answered.
  StopTakingConnections();
  while (FCGX_Accept_r(&request) == 0) AnswerOne(request, answers);
  close(signals);
  return wake == Wake::Stop ? 0 : 1;
}
