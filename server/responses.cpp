#include "server/responses.h"

#include <optional>
#include <variant>

#include "drawing/board_drawing.h"
#include "logic/level_code.h"
#include "logic/solver.h"
#include "picture/level_picture.h"
#include "play/game_state.h"
#include "server/pages.h"
#include "server/query.h"

// 'wasm-unsafe-eval' lets the page compile its own WebAssembly (and allows no
// eval of script text); the module's script fetches that WebAssembly from a
// data: address inside itself, hence data: for connect-src.
const char* const ContentSecurityPolicy =
    "default-src 'none'; script-src 'self' 'wasm-unsafe-eval'; style-src 'self'; img-src 'self'; "
    "connect-src 'self' data:; base-uri 'none'; form-action 'none'";

namespace {

constexpr const char* CachedForever = "public, max-age=31536000, immutable";

bool IsHostCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.';
}

bool IsDigits(std::string_view text) {
  if (text.empty() || text.size() > 5) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

/// A host name or IPv4 address, or an IPv6 address in brackets, with an optional port.
bool IsPlainHost(std::string_view host) {
  if (host.empty() || host.size() > 255) return false;
  std::string_view name = host;
  if (host.front() == '[') {
    const std::size_t close = host.find(']');
    if (close == std::string_view::npos || close < 3) return false;
    for (char c : host.substr(1, close - 1))
      if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') ||
            c == ':' || c == '.'))
        return false;
    const std::string_view rest = host.substr(close + 1);
    return rest.empty() || (rest.front() == ':' && IsDigits(rest.substr(1)));
  }
  const std::size_t colon = host.find(':');
  if (colon != std::string_view::npos) {
    if (!IsDigits(host.substr(colon + 1))) return false;
    name = host.substr(0, colon);
  }
  if (name.empty()) return false;
  for (char c : name)
    if (!IsHostCharacter(c)) return false;
  return true;
}

/// http:// or https:// and a plain host, with nothing after it.
bool IsPlainSiteAddress(std::string_view address) {
  for (std::string_view scheme : {"http://", "https://"}) {
    if (address.substr(0, scheme.size()) == scheme)
      return IsPlainHost(address.substr(scheme.size()));
  }
  return false;
}

HttpResponse WithCommonHeaders(HttpResponse response, const char* type, const char* caching) {
  response.headers.insert(response.headers.begin(),
                          {{"Content-Type", type},
                           {"Content-Length", std::to_string(response.body.size())},
                           {"Content-Security-Policy", ContentSecurityPolicy},
                           {"X-Content-Type-Options", "nosniff"},
                           {"Referrer-Policy", "strict-origin-when-cross-origin"},
                           {"Cache-Control", caching}});
  return response;
}

HttpResponse BadRequest(const std::string& reason) {
  HttpResponse response{400, "Bad Request", {}, BadRequestPage(reason)};
  return WithCommonHeaders(std::move(response), "text/html; charset=utf-8", "no-store");
}

HttpResponse MethodNotAllowed() {
  HttpResponse response{
      405, "Method Not Allowed", {{"Allow", "GET, HEAD"}}, MethodNotAllowedPage()};
  return WithCommonHeaders(std::move(response), "text/html; charset=utf-8", "no-store");
}

/// Why the code names no level; nullopt when it does. Characters after the
/// last wall digit, which the editor's reader would ignore, are refused here
/// so that every level has one address.
std::optional<std::string> CodeObjection(const std::string& code, const ParseResult& parsed,
                                         int boardSize) {
  const std::string shown = code.size() > 40 ? code.substr(0, 40) + "..." : code;
  if (!parsed.accepted)
    return "The level code \"" + shown + "\" cannot be read: " + parsed.reason + ".";
  const std::size_t length = LevelCodeLength(boardSize);
  if (code.size() != length)
    return "The level code \"" + shown + "\" has " + std::to_string(code.size()) +
           " characters; a " + std::to_string(boardSize) + " x " + std::to_string(boardSize) +
           " level code has " + std::to_string(length) + ".";
  return std::nullopt;
}

LevelFacts FactsOf(Level level) {
  LevelFacts facts;
  facts.code = WriteLevelCode(level);
  facts.boardSize = level.boardSize;
  const GameState game(std::move(level));
  facts.shortest = game.ShortestFromStart();
  facts.statusLines = StatusLines(game);
  const Rect area = BoardArea(facts.boardSize);
  facts.areaWidth = area.width;
  facts.areaHeight = area.height;
  return facts;
}

HttpResponse Picture(const Level& level) {
  HttpResponse response{200, "OK", {}, LevelPicturePng(level)};
  return WithCommonHeaders(std::move(response), "image/png", CachedForever);
}

HttpResponse Page(Level level, const CgiRequest& request, bool embed) {
  const LevelFacts facts = FactsOf(std::move(level));
  const std::string site = SiteAddress(request);
  HttpResponse response{
      200, "OK", {}, embed ? EmbeddedLevelPage(facts, site) : LevelPage(facts, site)};
  return WithCommonHeaders(std::move(response), "text/html; charset=utf-8", CachedForever);
}

}  // namespace

std::string HttpResponse::Header(const std::string& name) const {
  for (const auto& [key, value] : headers)
    if (key == name) return value;
  return {};
}

std::string SiteAddress(const CgiRequest& request) {
  if (IsPlainSiteAddress(request.publicAddress)) return request.publicAddress;
  const std::string scheme = request.https ? "https://" : "http://";
  if (IsPlainHost(request.host)) return scheme + request.host;
  const bool defaultPort =
      request.serverPort.empty() || request.serverPort == (request.https ? "443" : "80");
  const std::string host = request.serverName + (defaultPort ? "" : ":" + request.serverPort);
  if (!request.serverName.empty() && IsPlainHost(host)) return scheme + host;
  return {};
}

HttpResponse Respond(const CgiRequest& request) {
  if (request.method != "GET" && request.method != "HEAD") return MethodNotAllowed();
  const std::variant<LevelQuery, QueryError> query = ReadQuery(request.query);
  if (const auto* error = std::get_if<QueryError>(&query)) return BadRequest(error->reason);
  const LevelQuery& wanted = std::get<LevelQuery>(query);

  // One search per answer: the page needs the game's shortest solution, the
  // picture's lamp only whether there is a solution.
  Level level;
  const ParseResult parsed = ParseLevelCode(level, wanted.code);
  if (auto objection = CodeObjection(wanted.code, parsed, level.boardSize))
    return BadRequest(*objection);
  if (!wanted.png) return Page(std::move(level), request, wanted.embed);
  level.solvable = SolutionExists(level) ? 1 : 0;
  return Picture(level);
}

std::string CgiOutput(const HttpResponse& response, bool head) {
  std::string out = "Status: " + std::to_string(response.status) + " " + response.reason + "\r\n";
  for (const auto& [name, value] : response.headers) out += name + ": " + value + "\r\n";
  out += "\r\n";
  if (!head) out += response.body;
  return out;
}
