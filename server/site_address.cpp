#include "server/site_address.h"

#include <optional>
#include <utility>

namespace {

constexpr std::string_view Example = "https://www.example.org";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Lower(c);
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || IsDigit(c) || c == '-' || c == '.';
}

bool IsIpv6Character(char c) {
  return IsDigit(c) || (c >= 'a' && c <= 'f') || c == ':' || c == '.';
}

/// A host name or IPv4 address: dot-separated labels of letters, digits and
/// hyphens, none empty or longer than 63, none starting or ending in a hyphen.
bool IsHostName(std::string_view host) {
  if (host.empty() || host.size() > 253) return false;
  std::size_t start = 0;
  while (start <= host.size()) {
    const std::size_t dot = host.find('.', start);
    const std::string_view label =
        host.substr(start, dot == std::string_view::npos ? std::string_view::npos : dot - start);
    if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-')
      return false;
    for (char c : label)
      if (!IsHostCharacter(c)) return false;
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  return true;
}

/// "[...]" around an IPv6 address (or an IPv4-mapped one).
bool IsBracketedIpv6(std::string_view host) {
  if (host.size() < 4 || host.front() != '[' || host.back() != ']') return false;
  const std::string_view inside = host.substr(1, host.size() - 2);
  if (inside.find(':') == std::string_view::npos) return false;
  for (char c : inside)
    if (!IsIpv6Character(c)) return false;
  return true;
}

/// The port's digits as a number from 1 to 65535; nullopt otherwise.
std::optional<int> Port(std::string_view digits) {
  if (digits.empty() || digits.size() > 5) return std::nullopt;
  int port = 0;
  for (char c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    port = port * 10 + (c - '0');
  }
  if (port < 1 || port > 65535) return std::nullopt;
  return port;
}

AddressError Refusal(std::string_view text, const std::string& why) {
  std::string reason = "KORVALO_PUBLIC_ADDRESS \"";
  reason += text;
  reason += "\" ";
  reason += why;
  reason += "; it must be the site's address alone, such as ";
  reason += Example;
  reason += '.';
  return {std::move(reason)};
}

}  // namespace

std::variant<std::string, AddressError> NormalisedPublicAddress(std::string_view text) {
  if (text.empty()) return std::string();
  const std::string lowered = Lowered(text);
  std::string_view rest = lowered;
  std::string scheme;
  for (std::string_view known : {"http://", "https://"}) {
    if (rest.substr(0, known.size()) == known) scheme = known;
  }
  if (scheme.empty()) return Refusal(text, "does not start with http:// or https://");
  rest.remove_prefix(scheme.size());

  const std::size_t end = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, end);
  const std::string_view after = end == std::string_view::npos ? "" : rest.substr(end);
  if (!after.empty() && after != "/")
    return Refusal(text, std::string("has a path, query or fragment (").append(after).append(")"));
  if (authority.find('@') != std::string_view::npos) return Refusal(text, "names a user");

  // The port follows the last colon outside an IPv6 address's brackets.
  std::string_view host = authority;
  std::string port;
  const std::size_t colon = authority.rfind(':');
  const std::size_t bracket = authority.rfind(']');
  if (colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket)) {
    host = authority.substr(0, colon);
    const std::optional<int> number = Port(authority.substr(colon + 1));
    if (!number) return Refusal(text, "has no port from 1 to 65535 after its colon");
    const bool isDefault =
        (scheme == "http://" && *number == 80) || (scheme == "https://" && *number == 443);
    if (!isDefault) port.append(":").append(std::to_string(*number));
  }
  if (!IsHostName(host) && !IsBracketedIpv6(host))
    return Refusal(text,
                   "has no valid host name (letters, digits, hyphens and dots, or an IP "
                   "address; a name in another script must be given in its xn-- form)");
  return scheme + std::string(host) + port;
}
