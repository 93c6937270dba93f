#pragma once
// The level set a designer works on: its levels (code and title), its title
// and author, the file it came from and whether it has changed since it was
// last saved. Standard library only; the editor's panel shows it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "logic/level_set.h"

class SetDocument {
 public:
  const LevelSet& set() const { return m_set; }
  std::size_t size() const { return m_set.levels.size(); }
  /// The file the set was opened from or saved to; empty for a new set.
  const std::string& path() const { return m_path; }
  bool modified() const { return m_modified; }

  /// An empty, unnamed set.
  void New();
  /// The set of a file's text; lines that are no level are left out and
  /// returned, so that the caller can say which.
  std::vector<SetLineError> Open(std::string_view text, std::string path);
  /// The text to write to a file, as the set format has it.
  std::string Text() const { return WriteLevelSet(m_set); }
  /// After the text was written to the file at path.
  void Saved(std::string path);

  /// Adds a level after the last one; returns its index.
  std::size_t Add(std::string code, std::string title = {});
  // The index lies within the set.
  void Replace(std::size_t index, std::string code);
  void Remove(std::size_t index);
  /// Swaps the level with the one before (or after) it; false at the end of the set.
  bool MoveUp(std::size_t index);
  bool MoveDown(std::size_t index);
  void SetTitle(std::size_t index, std::string title);
  void SetNames(std::string title, std::string author);

 private:
  void Changed() { m_modified = true; }

  LevelSet m_set;
  std::string m_path;
  bool m_modified = false;
};
