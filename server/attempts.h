#pragma once
// What a play record or a vote must be before the store sees it: strict JSON
// with exactly the members named, each of its type and within bounds that a
// person at the board can reach, and a claimed solution that solves the
// level when replayed with the game's move rule.

#include <string>
#include <string_view>
#include <variant>

#include "server/publishing.h"
#include "server/store/play_records.h"

/// Bounds of a record: beyond them no person played.
inline constexpr std::size_t MaxAttemptMoves = 5000;
inline constexpr int MaxAttemptCount = 100000;       // undos, hints, restarts
inline constexpr int MaxAttemptSeconds = 24 * 3600;  // active seconds of one attempt
inline constexpr std::size_t MaxVersionLength = 40;
/// Nobody tilts the board faster than this, counted over the whole attempt.
inline constexpr int MaxMovesPerSecond = 20;

/// A session's id: 32 lowercase hexadecimal digits (128 random bits).
bool IsSessionId(std::string_view text);

/// A play record: {"level", "session", "solved", "moves", "undos", "hints",
/// "restarts", "seconds", "version"}; the level by any form of its code, which
/// must be a level code (whether it is published is the store's to say).
std::variant<AttemptRecord, Refusal> ReadAttempt(std::string_view body);

struct VoteRequest {
  std::string session;
  int vote = 0;  // +1 like, -1 dislike
};

/// A like or dislike: {"session", "vote": "like" or "dislike"}.
std::variant<VoteRequest, Refusal> ReadVote(std::string_view body);
