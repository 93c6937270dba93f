#include "server/attempts.h"

#include <cmath>

#include "logic/json.h"
#include "logic/level_code.h"
#include "logic/moves.h"

namespace {

/// The body as a JSON object that names exactly the given members.
std::variant<JsonValue, Refusal> ExactObject(std::string_view body,
                                             std::initializer_list<std::string_view> names) {
  auto read = BodyObject(body, names);
  if (auto* value = std::get_if<JsonValue>(&read)) {
    for (std::string_view name : names)
      if (value->Member(name) == nullptr)
        return Refusal{"The " + std::string(name) + " is missing."};
  }
  return read;
}

/// A whole number from 0 to `largest`.
std::variant<int, Refusal> Count(const JsonValue& object, std::string_view name, int largest) {
  const auto* number = std::get_if<double>(&object.Member(name)->value);
  if (number == nullptr) return Refusal{"The " + std::string(name) + " must be a number."};
  if (*number != std::floor(*number) || *number < 0 || *number > largest)
    return Refusal{"The " + std::string(name) + " must be a whole number from 0 to " +
                   std::to_string(largest) + "."};
  return static_cast<int>(*number);
}

std::optional<Direction> DirectionOfLetter(char letter) {
  for (Direction direction : AllDirections)
    if (DirectionLetter(direction) == letter) return direction;
  return std::nullopt;
}

/// Whether the moves, replayed from the level's start, leave every ball in its hole.
bool Solves(const std::string& code, const std::string& moves) {
  Level level;
  ParseLevelCode(level, code);
  Pieces balls = level.balls;
  for (char letter : moves) Move(level, balls, *DirectionOfLetter(letter));
  return EncodeState(level, balls) == level.targetState;
}

std::optional<Refusal> CheckMoves(const std::string& moves) {
  if (moves.size() > MaxAttemptMoves)
    return Refusal{"The moves are more than " + std::to_string(MaxAttemptMoves) + "."};
  for (char letter : moves)
    if (!DirectionOfLetter(letter)) return Refusal{"The moves must be the letters N, S, W and E."};
  return std::nullopt;
}

std::optional<Refusal> CheckVersion(const std::string& version) {
  if (version.empty() || version.size() > MaxVersionLength)
    return Refusal{"The version must be 1 to " + std::to_string(MaxVersionLength) + " characters."};
  for (char c : version)
    if (c < 0x21 || c > 0x7e) return Refusal{"The version must be printable ASCII without spaces."};
  return std::nullopt;
}

}  // namespace

bool IsSessionId(std::string_view text) {
  return text.size() == 32 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

std::variant<AttemptRecord, Refusal> ReadAttempt(std::string_view body) {
  auto read = ExactObject(body, {"level", "session", "solved", "moves", "undos", "hints",
                                 "restarts", "seconds", "version"});
  if (auto* refusal = std::get_if<Refusal>(&read)) return *refusal;
  const JsonValue& object = std::get<JsonValue>(read);
  AttemptRecord attempt;

  const std::string* level = object.Member("level")->String();
  const std::optional<std::string> canonical =
      level == nullptr ? std::nullopt : CanonicalCodeOf(*level);
  if (!canonical) return Refusal{"The level must be a level code."};
  // The moves are replayed on the code as sent: another form of the level is
  // turned or mirrored, and so are its moves.
  const std::string sentCode = [&] {
    std::string lower = *level;
    for (char& c : lower)
      if (c >= 'A' && c <= 'F') c = static_cast<char>(c - 'A' + 'a');
    return lower;
  }();
  attempt.level = *canonical;

  const std::string* session = object.Member("session")->String();
  if (session == nullptr || !IsSessionId(*session))
    return Refusal{"The session must be 32 lowercase hexadecimal digits."};
  attempt.session = *session;

  const bool* solved = std::get_if<bool>(&object.Member("solved")->value);
  if (solved == nullptr) return Refusal{"The solved must be true or false."};
  attempt.solved = *solved;

  const std::string* moves = object.Member("moves")->String();
  if (moves == nullptr) return Refusal{"The moves must be text."};
  if (auto refusal = CheckMoves(*moves)) return *refusal;
  attempt.moves = *moves;

  struct Field {
    std::string_view name;
    int largest;
    int AttemptRecord::*into;
  };
  static constexpr Field Fields[] = {{"undos", MaxAttemptCount, &AttemptRecord::undos},
                                     {"hints", MaxAttemptCount, &AttemptRecord::hints},
                                     {"restarts", MaxAttemptCount, &AttemptRecord::restarts},
                                     {"seconds", MaxAttemptSeconds, &AttemptRecord::seconds}};
  for (const Field& field : Fields) {
    auto count = Count(object, field.name, field.largest);
    if (auto* refusal = std::get_if<Refusal>(&count)) return *refusal;
    attempt.*field.into = std::get<int>(count);
  }

  const std::string* version = object.Member("version")->String();
  if (version == nullptr) return Refusal{"The version must be text."};
  if (auto refusal = CheckVersion(*version)) return *refusal;
  attempt.version = *version;

  if (attempt.moves.size() > static_cast<std::size_t>(MaxMovesPerSecond) * (attempt.seconds + 1))
    return Refusal{"The moves are more than anyone plays in that time."};
  if (attempt.solved && !Solves(sentCode, attempt.moves))
    return Refusal{"The moves do not solve the level."};
  return attempt;
}

std::variant<VoteRequest, Refusal> ReadVote(std::string_view body) {
  auto read = ExactObject(body, {"session", "vote"});
  if (auto* refusal = std::get_if<Refusal>(&read)) return *refusal;
  const JsonValue& object = std::get<JsonValue>(read);
  const std::string* session = object.Member("session")->String();
  if (session == nullptr || !IsSessionId(*session))
    return Refusal{"The session must be 32 lowercase hexadecimal digits."};
  const std::string* vote = object.Member("vote")->String();
  if (vote == nullptr || (*vote != "like" && *vote != "dislike"))
    return Refusal{"The vote must be \"like\" or \"dislike\"."};
  return VoteRequest{*session, *vote == "like" ? 1 : -1};
}
