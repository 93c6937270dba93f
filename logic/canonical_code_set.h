#pragma once
// The levels met so far, by canonical code, in little memory: the repeat
// check of a level set that may hold millions of lines.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

/// Canonical codes with the line each was first met on. A code is held packed,
/// two of its hex digits a byte, in a fixed-size key of an open-addressing
/// table kept between a third and three quarters full: 24 bytes an entry, at
/// most 64 bytes per code held (96 for the moment the table doubles).
class CanonicalCodeSet {
 public:
  CanonicalCodeSet();

  /// The line the code was first met on, when it was met before; otherwise
  /// adds it with this line and returns nothing.
  // code is a canonical code: 17, 25 or 37 lowercase hex digits.
  std::optional<int> FirstLineOrAdd(std::string_view code, int line);

  std::size_t Size() const { return m_size; }
  /// Bytes the table holds, for the tests of the bound.
  std::size_t Bytes() const { return m_capacity * sizeof(Entry); }

 private:
  static constexpr std::size_t KeyBytes = 19;  // 37 digits, two a byte
  using Key = std::array<std::uint8_t, KeyBytes>;
  struct Entry {
    Key key{};  // all zero when the slot is free: no code starts with 0
    std::uint8_t unused = 0;
    std::int32_t line = 0;
  };
  static_assert(sizeof(Entry) == 24);

  static Key Pack(std::string_view code);
  static std::size_t HashOf(const Key& key);
  Entry& SlotOf(const Key& key);
  void Grow();

  std::unique_ptr<Entry[]> m_entries;
  std::size_t m_capacity = 0;  // a power of two
  std::size_t m_size = 0;
};
