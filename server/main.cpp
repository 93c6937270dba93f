// korvz: the level-sharing page as a CGI program. For `?s=CODE` it answers
// the page where the level is played in the browser, for `&png=1` its
// picture, for `&embed=1` the page for a frame on another site; anything else
// gets a 400 page that says why. It holds no state and reads no file.

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "server/responses.h"

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

CgiRequest RequestFromEnvironment() {
  CgiRequest request;
  if (const std::string method = Environment("REQUEST_METHOD"); !method.empty())
    request.method = method;
  request.query = Environment("QUERY_STRING");
  request.host = Environment("HTTP_HOST");
  const std::string https = Environment("HTTPS");
  request.https = https == "on" || https == "1";
  request.serverName = Environment("SERVER_NAME");
  request.serverPort = Environment("SERVER_PORT");
  request.publicAddress = Environment("KORVALO_PUBLIC_ADDRESS");
  return request;
}

bool Write(const std::string& output) {
  return std::fwrite(output.data(), 1, output.size(), stdout) == output.size() &&
         std::fflush(stdout) == 0;
}

}  // namespace

int main() {
  try {
    const CgiRequest request = RequestFromEnvironment();
    return Write(CgiOutput(Respond(request), request.method == "HEAD")) ? 0 : 1;
  } catch (const std::exception&) {
    // Out of memory or a failed compression: an answer with nothing of the request in it.
    Write(
        "Status: 500 Internal Server Error\r\nContent-Type: text/plain; charset=utf-8\r\n"
        "Content-Security-Policy: " +
        std::string(ContentSecurityPolicy) +
        "\r\n\r\n"
        "The level could not be served.\n");
    return 1;
  }
}
