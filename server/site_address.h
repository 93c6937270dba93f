#pragma once
// The site's public address, KORVALO_PUBLIC_ADDRESS: the one source of the
// absolute links in the pages (Open Graph, Embed). Nothing of a request (its
// Host header least of all) ever goes into an answer.

#include <string>
#include <string_view>
#include <variant>

/// Why a public address cannot be used, in words for the server's log.
struct AddressError {
  std::string reason;
};

/// The address in its one written form, "https://www.example.org:8443": the
/// scheme and host in small letters, no default port, no trailing slash.
/// Takes http:// or https://, a host name, IPv4 address or bracketed IPv6
/// address, an optional port and an optional trailing slash; nothing else (no
/// path, query, fragment or user name). Empty text gives empty text: no
/// public address, and the pages link relative to the site.
std::variant<std::string, AddressError> NormalisedPublicAddress(std::string_view text);
