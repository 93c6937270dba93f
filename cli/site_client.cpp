#include "cli/site_client.h"

#include <netdb.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <functional>
#include <memory>

#include "logic/json.h"

namespace {

constexpr std::size_t MostAnswerBytes = 1 << 20;
constexpr int SecondsWithoutAByte = 30;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

/// A connected socket, closed with its owner.
class Socket {
 public:
  explicit Socket(int fd) : m_fd(fd) {}
  ~Socket() {
    if (m_fd >= 0) close(m_fd);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return m_fd; }

 private:
  int m_fd;
};

std::variant<int, std::string> Connect(const SiteAddress& site) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  std::string host = site.host;
  if (host.size() > 2 && host.front() == '[') host = host.substr(1, host.size() - 2);
  if (const int error = getaddrinfo(host.c_str(), site.port.c_str(), &hints, &found); error != 0)
    return "cannot find " + site.host + ": " + gai_strerror(error);
  std::string reason = "cannot connect to " + site.host + ":" + site.port;
  int connected = -1;
  for (addrinfo* address = found; address != nullptr && connected < 0; address = address->ai_next) {
    const int fd =
        socket(address->ai_family, address->ai_socktype | SOCK_CLOEXEC, address->ai_protocol);
    if (fd < 0) continue;
    timeval limit{SecondsWithoutAByte, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (connect(fd, address->ai_addr, address->ai_addrlen) == 0) {
      connected = fd;
    } else {
      close(fd);
    }
  }
  freeaddrinfo(found);
  if (connected < 0) return reason;
  return connected;
}

/// The bytes of an answer, or why there are none.
struct Exchanged {
  std::string bytes;
  std::string failure;  // empty when the answer came
};

Exchanged Failed(std::string reason) { return {{}, std::move(reason)}; }

/// Sends the request and reads until the server closes, through `send` and
/// `receive` (plain or TLS).
Exchanged Exchange(const std::string& request,
                   const std::function<long(const char*, std::size_t)>& send,
                   const std::function<long(char*, std::size_t)>& receive) {
  for (std::size_t at = 0; at < request.size();) {
    const long sent = send(request.data() + at, request.size() - at);
    if (sent <= 0) return Failed("the site stopped taking the request");
    at += static_cast<std::size_t>(sent);
  }
  std::string answer;
  char buffer[16384];
  for (;;) {
    const long got = receive(buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) return Failed("the site's answer did not come");
    answer.append(buffer, static_cast<std::size_t>(got));
    if (answer.size() > MostAnswerBytes) return Failed("the site's answer is too long");
  }
  return {std::move(answer), {}};
}

Exchanged ExchangeTls(int fd, const std::string& host, const std::string& request) {
  std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> context(SSL_CTX_new(TLS_client_method()),
                                                            SSL_CTX_free);
  if (!context || SSL_CTX_set_default_verify_paths(context.get()) != 1)
    return Failed("TLS cannot be set up");
  SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, nullptr);
  SSL_CTX_set_min_proto_version(context.get(), TLS1_2_VERSION);
  std::unique_ptr<SSL, decltype(&SSL_free)> tls(SSL_new(context.get()), SSL_free);
  if (!tls || SSL_set1_host(tls.get(), host.c_str()) != 1 ||
      SSL_set_tlsext_host_name(tls.get(), host.c_str()) != 1 || SSL_set_fd(tls.get(), fd) != 1)
    return Failed("TLS cannot be set up");
  if (SSL_connect(tls.get()) != 1) {
    char reason[256];
    ERR_error_string_n(ERR_get_error(), reason, sizeof reason);
    return Failed("no secure connection to " + host + ": " + reason);
  }
  auto answer = Exchange(
      request,
      [&](const char* bytes, std::size_t size) {
        return static_cast<long>(SSL_write(tls.get(), bytes, static_cast<int>(size)));
      },
      [&](char* bytes, std::size_t size) -> long {
        const int got = SSL_read(tls.get(), bytes, static_cast<int>(size));
        if (got > 0) return got;
        const int error = SSL_get_error(tls.get(), got);
        // A server that closes without TLS's own goodbye has still sent it all.
        if (error == SSL_ERROR_ZERO_RETURN || error == SSL_ERROR_SYSCALL) return 0;
        return -1;
      });
  SSL_shutdown(tls.get());
  return answer;
}

/// The status and body of an HTTP/1.0 answer; the reason when it is not one.
std::variant<SiteAnswer, std::string> ReadAnswer(const std::string& bytes) {
  const std::size_t headEnd = bytes.find("\r\n\r\n");
  if (!StartsWith(bytes, "HTTP/1.") || headEnd == std::string::npos || bytes.size() < 12)
    return std::string("the site's answer is not HTTP");
  SiteAnswer answer;
  for (int i = 9; i < 12; ++i) {
    if (bytes[static_cast<std::size_t>(i)] < '0' || bytes[static_cast<std::size_t>(i)] > '9')
      return std::string("the site's answer is not HTTP");
    answer.status = answer.status * 10 + (bytes[static_cast<std::size_t>(i)] - '0');
  }
  answer.body = bytes.substr(headEnd + 4);
  return answer;
}

// ----------------------------------------------------------- flat JSON

/// A member's value as flat text: a string as it is, true, false and null
/// as written, a number in its shortest form; nothing for an array or object.
std::optional<std::string> FlatText(const JsonValue& value) {
  if (const std::string* text = value.String()) return *text;
  if (const bool* truth = std::get_if<bool>(&value.value)) return *truth ? "true" : "false";
  if (std::holds_alternative<std::nullptr_t>(value.value)) return "null";
  if (const double* number = std::get_if<double>(&value.value)) {
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, *number);
    return std::string(digits, written.ptr);
  }
  return std::nullopt;
}

}  // namespace

std::variant<SiteAddress, std::string> ReadSiteAddress(std::string_view text) {
  SiteAddress site;
  if (StartsWith(text, "https://")) {
    site.secure = true;
    text.remove_prefix(8);
  } else if (StartsWith(text, "http://")) {
    text.remove_prefix(7);
  } else {
    return std::string("the site's address must start with http:// or https://");
  }
  const std::size_t slash = text.find('/');
  std::string_view authority = text.substr(0, slash);
  std::string_view path = slash == std::string_view::npos ? "" : text.substr(slash);
  while (!path.empty() && path.back() == '/') path.remove_suffix(1);
  if (authority.empty() || authority.find('@') != std::string_view::npos ||
      path.find_first_of("?#") != std::string_view::npos)
    return std::string("the site's address must be http[s]://HOST[:PORT][/PATH]");
  const std::size_t bracket = authority.rfind(']');
  const std::size_t colon = authority.rfind(':');
  if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
    site.port = std::string(authority.substr(colon + 1));
    authority = authority.substr(0, colon);
    if (site.port.empty() || site.port.size() > 5 ||
        site.port.find_first_not_of("0123456789") != std::string::npos)
      return std::string("the site's port must be a number");
  } else {
    site.port = site.secure ? "443" : "80";
  }
  if (authority.empty()) return std::string("the site's address names no host");
  site.host = std::string(authority);
  site.base = std::string(path);
  return site;
}

std::string SiteOrigin(const SiteAddress& site) {
  const bool usualPort = site.port == (site.secure ? "443" : "80");
  return std::string(site.secure ? "https://" : "http://") + site.host +
         (usualPort ? "" : ":" + site.port) + site.base;
}

std::variant<SiteAnswer, std::string> SendJson(const SiteAddress& site, std::string_view method,
                                               std::string_view path, std::string_view body) {
  auto connected = Connect(site);
  if (auto* reason = std::get_if<std::string>(&connected)) return *reason;
  const Socket socket(std::get<int>(connected));
  // HTTP/1.0: the answer ends when the connection does, and is never chunked.
  const std::string hostHeader =
      site.host + (site.port == (site.secure ? "443" : "80") ? "" : ":" + site.port);
  std::string request = std::string(method) + " " + site.base + std::string(path) +
                        " HTTP/1.0\r\nHost: " + hostHeader +
                        "\r\nContent-Type: application/json\r\nAccept: application/json\r\n"
                        "Content-Length: " +
                        std::to_string(body.size()) + "\r\n\r\n";
  request += body;
  const Exchanged exchanged =
      site.secure ? ExchangeTls(socket.fd(), site.host, request)
                  : Exchange(
                        request,
                        [&](const char* data, std::size_t size) {
                          return static_cast<long>(send(socket.fd(), data, size, MSG_NOSIGNAL));
                        },
                        [&](char* data, std::size_t size) {
                          return static_cast<long>(recv(socket.fd(), data, size, 0));
                        });
  if (!exchanged.failure.empty()) return exchanged.failure;
  return ReadAnswer(exchanged.bytes);
}

std::optional<std::map<std::string, std::string>> FlatJsonMembers(std::string_view json) {
  const auto read = ParseJson(json);
  const JsonValue* document = std::get_if<JsonValue>(&read);
  const JsonObject* object = document == nullptr ? nullptr : document->Object();
  if (object == nullptr) return std::nullopt;
  std::map<std::string, std::string> members;
  for (const JsonMember& member : *object) {
    if (std::optional<std::string> text = FlatText(member.value))
      members[member.name] = std::move(*text);
  }
  return members;
}
