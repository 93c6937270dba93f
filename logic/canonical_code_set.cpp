#include "logic/canonical_code_set.h"

#include <cassert>

namespace {

constexpr std::size_t FirstCapacity = 64;

std::uint8_t DigitValue(char digit) {
  assert((digit >= '0' && digit <= '9') || (digit >= 'a' && digit <= 'f'));
  return static_cast<std::uint8_t>(digit <= '9' ? digit - '0' : digit - 'a' + 10);
}

}  // namespace

CanonicalCodeSet::CanonicalCodeSet()
    : m_entries(new Entry[FirstCapacity]), m_capacity(FirstCapacity) {}

CanonicalCodeSet::Key CanonicalCodeSet::Pack(std::string_view code) {
  assert(!code.empty() && code.size() <= 2 * KeyBytes && code[0] != '0');
  Key key{};
  for (std::size_t i = 0; i < code.size(); ++i) {
    key[i / 2] |= static_cast<std::uint8_t>(DigitValue(code[i]) << (i % 2 == 0 ? 4 : 0));
  }
  return key;
}

std::size_t CanonicalCodeSet::HashOf(const Key& key) {
  // FNV-1a, then a multiply that spreads the low bits the mask keeps.
  std::uint64_t hash = 14695981039346656037ull;
  for (std::uint8_t byte : key) hash = (hash ^ byte) * 1099511628211ull;
  return static_cast<std::size_t>((hash ^ (hash >> 29)) * 0x9e3779b97f4a7c15ull >> 16);
}

CanonicalCodeSet::Entry& CanonicalCodeSet::SlotOf(const Key& key) {
  const std::size_t mask = m_capacity - 1;
  for (std::size_t slot = HashOf(key) & mask;; slot = (slot + 1) & mask) {
    Entry& entry = m_entries[slot];
    if (entry.key[0] == 0 || entry.key == key) return entry;
  }
}

void CanonicalCodeSet::Grow() {
  // Allocated before anything changes: when memory runs out, the set stays whole.
  std::unique_ptr<Entry[]> bigger(new Entry[2 * m_capacity]);
  std::unique_ptr<Entry[]> old = std::move(m_entries);
  const std::size_t oldCapacity = m_capacity;
  m_entries = std::move(bigger);
  m_capacity *= 2;
  for (std::size_t i = 0; i < oldCapacity; ++i) {
    if (old[i].key[0] != 0) SlotOf(old[i].key) = old[i];
  }
}

std::optional<int> CanonicalCodeSet::FirstLineOrAdd(std::string_view code, int line) {
  const Key key = Pack(code);
  Entry* entry = &SlotOf(key);
  if (entry->key[0] != 0) return entry->line;
  if (4 * (m_size + 1) > 3 * m_capacity) {
    Grow();
    entry = &SlotOf(key);
  }
  entry->key = key;
  entry->line = line;
  ++m_size;
  return std::nullopt;
}
