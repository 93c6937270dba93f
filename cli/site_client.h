#pragma once
// What korvalo-level needs to talk to the sharing site: its address, one
// HTTP request with a JSON body (http:// over a plain socket, https:// through
// OpenSSL with the system's certificates), and the members of the site's
// flat JSON answers.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

struct SiteAddress {
  bool secure = false;  // https
  std::string host;     // a name, an IPv4 address or [an IPv6 address]
  std::string port;     // 80 or 443 unless given
  std::string base;     // the path before /api/, without a trailing slash
};

/// Reads http://HOST[:PORT][/PATH] or https://...; the reason when it is not one.
std::variant<SiteAddress, std::string> ReadSiteAddress(std::string_view text);

/// The address written back, without a trailing slash: the prefix of the
/// site's relative addresses.
std::string SiteOrigin(const SiteAddress& site);

struct SiteAnswer {
  int status = 0;
  std::string body;
};

/// Sends METHOD base+path with the JSON body and waits for the whole answer
/// (at most 30 seconds without a byte, at most 1 MB); the reason when there is none.
std::variant<SiteAnswer, std::string> SendJson(const SiteAddress& site, std::string_view method,
                                               std::string_view path, std::string_view body);

/// The text, true/false, null and number members of a JSON object, as text
/// ("true", "12"), read by the strict reader (logic/json.h); arrays and
/// objects inside it are passed over. Nullopt when the text is no object.
std::optional<std::map<std::string, std::string>> FlatJsonMembers(std::string_view json);
