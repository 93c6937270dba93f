#pragma once
// What the server program answers, worked out from the request alone: the
// server holds no state, so every answer for a level is the same forever.

#include <string>
#include <utility>
#include <vector>

/// What the web server tells a CGI program about the request.
struct CgiRequest {
  std::string method = "GET";  // REQUEST_METHOD
  std::string query;           // QUERY_STRING
  std::string host;            // HTTP_HOST, as the browser sent it
  bool https = false;          // HTTPS is "on" or "1"
  std::string serverName;      // SERVER_NAME
  std::string serverPort;      // SERVER_PORT
  /// KORVALO_PUBLIC_ADDRESS: the site's address as the public sees it, set by
  /// the server's configuration behind a proxy; wins over the request's host.
  std::string publicAddress;
};

struct HttpResponse {
  int status = 200;
  std::string reason = "OK";
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  std::string Header(const std::string& name) const;
};

/// The policy every answer carries: the site's own scripts (and their
/// WebAssembly), style sheet and images, nothing from elsewhere.
extern const char* const ContentSecurityPolicy;

/// The site's own address for links in the page ("http://host:port"): the
/// configured public address, else the request's host when it is a plain
/// host name or address, else the server's name; empty when none of them is
/// usable, and the page then links relative to the site.
std::string SiteAddress(const CgiRequest& request);

HttpResponse Respond(const CgiRequest& request);

/// The answer as a CGI program writes it to standard output; no body for HEAD.
std::string CgiOutput(const HttpResponse& response, bool head);
