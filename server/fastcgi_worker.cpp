#include "server/fastcgi_worker.h"

#include <fastcgi.h>
#include <fcgiapp.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

#include "server/publishing.h"

namespace {

constexpr int ListenSocket = 0;  // where a FastCGI web server puts it

/// The signals that stop the worker. They are held back all the time and read
/// from a signal descriptor, so they interrupt nothing but the wait for the
/// next connection: an answer under way is always finished.
sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  // SIGUSR1 is FastCGI's graceful end. Taken here, libfcgi's own handler
  // never sees it: that handler makes every later accept fail at once while
  // the socket stays readable, and the worker would spin.
  for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGUSR1}) sigaddset(&signals, signal);
  return signals;
}

std::string Param(const FCGX_Request& request, const char* name) {
  const char* value = FCGX_GetParam(name, request.envp);
  return value == nullptr ? std::string() : std::string(value);
}

/// The body of a POST, up to MaxBodyBytes; false when it is longer.
bool ReadBody(FCGX_Request& accepted, Request& request) {
  const std::string length = Param(accepted, "CONTENT_LENGTH");
  const unsigned long long declared =
      length.empty() ? 0 : std::strtoull(length.c_str(), nullptr, 10);
  if (declared > MaxBodyBytes) return false;
  request.body.resize(static_cast<std::size_t>(declared));
  const int got = FCGX_GetStr(request.body.data(), static_cast<int>(declared), accepted.in);
  request.body.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return true;
}

/// The things of a request an answer may depend on; nothing else is read.
/// The body, the edit token and the client's address serve the published
/// levels' API alone.
Request RequestOf(FCGX_Request& accepted, bool& bodyTooLarge) {
  Request request;
  request.method = Param(accepted, "REQUEST_METHOD");
  request.target = Param(accepted, "REQUEST_URI");
  request.ifNoneMatch = Param(accepted, "HTTP_IF_NONE_MATCH");
  request.authorization = Param(accepted, "HTTP_AUTHORIZATION");
  request.clientAddress = Param(accepted, "REMOTE_ADDR");
  bodyTooLarge = request.method == "POST" && !ReadBody(accepted, request);
  return request;
}

/// The 8 bytes that start a FastCGI record: version, type, request id, length
/// of the content, no padding.
void AppendRecordHeader(std::string& records, unsigned char type, int requestId,
                        std::size_t length) {
  const unsigned char header[FCGI_HEADER_LEN] = {FCGI_VERSION_1,
                                                 type,
                                                 static_cast<unsigned char>(requestId >> 8),
                                                 static_cast<unsigned char>(requestId),
                                                 static_cast<unsigned char>(length >> 8),
                                                 static_cast<unsigned char>(length),
                                                 0,  // no padding
                                                 0};
  records.append(reinterpret_cast<const char*>(header), sizeof header);
}

/// The FastCGI records of the whole answer: its output in records of at most
/// 65535 bytes, the empty record that ends the output, and the end of the
/// request (status 0, complete).
std::string AnswerRecords(int requestId, std::string_view output) {
  constexpr std::size_t MostPerRecord = 65535;
  std::string records;
  for (std::size_t at = 0; at < output.size(); at += MostPerRecord) {
    const std::string_view part = output.substr(at, MostPerRecord);
    AppendRecordHeader(records, FCGI_STDOUT, requestId, part.size());
    records += part;
  }
  AppendRecordHeader(records, FCGI_STDOUT, requestId, 0);
  AppendRecordHeader(records, FCGI_END_REQUEST, requestId, 8);
  const unsigned char end[8] = {0, 0, 0, 0, FCGI_REQUEST_COMPLETE, 0, 0, 0};
  records.append(reinterpret_cast<const char*>(end), sizeof end);
  return records;
}

/// Sends all the bytes; false when the web server has gone.
bool SendAll(int socket, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

/// One line on standard error (the web server's error log, the journal) for
/// an answer that tells of a failure: its status, its address and why.
void LogFailure(int status, const std::string& target, std::string_view why) {
  // The address is lighttpd's, without control characters; a long one is cut.
  const std::string shown = target.size() > 200 ? target.substr(0, 200) + "..." : target;
  while (!why.empty() && why.back() == '\n') why.remove_suffix(1);
  std::fprintf(stderr, "korvz: %d for %s: %.*s\n", status, shown.c_str(),
               static_cast<int>(why.size()), why.data());
}

/// Works the answer out in full, then sends it with the end of the request in
/// one write, and closes the connection. The web server gets the whole answer
/// or, from a worker that dies before the write, nothing: never half an
/// answer (libfcgi's own stream would send an answer over 8 KB in pieces).
void AnswerOne(FCGX_Request& accepted, SiteAnswers& answers) {
  std::string output;
  Request request;
  try {
    bool bodyTooLarge = false;
    request = RequestOf(accepted, bodyTooLarge);
    const HttpResponse response = bodyTooLarge ? TooLarge() : answers.Respond(request);
    if (response.status >= 500)
      LogFailure(response.status, request.target,
                 response.failure.empty() ? response.body : response.failure);
    output = ResponderOutput(response, request.method == "HEAD");
  } catch (const std::exception& failure) {
    // Out of memory or a failed compression: an answer with nothing of the request in it.
    LogFailure(500, request.target, failure.what());
    output = ResponderOutput(InternalError(), false);
  }
  const bool sent = SendAll(accepted.ipcFd, AnswerRecords(accepted.requestId, output));
  // The request's records are written: libfcgi only frees it, and closes the
  // connection unless the web server keeps it.
  FCGX_Free(&accepted, !sent || !accepted.keepConnection);
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
    // libfcgi retries the errors a connection may bring by itself; a failure
    // it returns would come back on every wake, so the worker ends instead
    // and the web server starts another.
    if (FCGX_Accept_r(&request) != 0) {
      wake = Wake::Failure;
      break;
    }
    AnswerOne(request, answers);
  }
  // Asked to stop (or the socket failed): what is waiting is still answered.
  StopTakingConnections();
  while (FCGX_Accept_r(&request) == 0) AnswerOne(request, answers);
  close(signals);
  return wake == Wake::Stop ? 0 : 1;
}
