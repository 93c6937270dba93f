#pragma once
// The level set a designer works on: its levels (code and title), its title
// and author, the file it came from and whether it differs from what was last
// opened or saved. Every level keeps an id of its own while it is in the set,
// through moves, undo and redo, so that the board can tell which level it
// came from. Standard library only; the editor's set controller shows it.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editing/history.h"
#include "editing/set_file_lines.h"
#include "logic/level_set.h"

class SetDocument {
 public:
  const LevelSet& set() const { return m_contents.set; }
  std::size_t size() const { return m_contents.set.levels.size(); }
  /// The file the set was opened from or saved to; empty for a new set.
  const std::string& path() const { return m_path; }
  /// True when the set differs from the one last opened or saved.
  bool modified() const { return m_modified; }

  // The index lies within the set.
  std::uint64_t IdOf(std::size_t index) const { return m_contents.ids[index]; }
  /// The index of the level with this id; none when it is not in the set.
  std::optional<std::size_t> IndexOf(std::uint64_t id) const;

  /// Changes are kept for undo in this history from now on; New and Open
  /// forget every change it holds, since they belong to another set.
  void RecordInto(History* history) { m_history = history; }
  /// Called after every change of the set, its file or its saved state, undo
  /// and redo included.
  void AddListener(std::function<void()> listener) { m_listeners.push_back(std::move(listener)); }

  /// An empty, unnamed set.
  void New();
  /// The set of a file's text; lines that are no level are left out and
  /// returned, so that the caller can say which.
  std::vector<SetLineError> Open(std::string_view text, std::string path);
  /// The text to write to the set's file: the lines of the file it was
  /// opened from that are no levels stay as and where they were.
  std::string Text() const { return m_file.Text(m_contents.set); }
  /// After Text() was written to the file at path.
  void Saved(std::string path);
  /// The set of a text kept after a crash, as the file at path would be
  /// written; modified when it held changes that were in no file.
  void Recovered(std::string_view text, std::string path, bool modified);
  /// The lines of the set's file that are neither levels, headers nor blank.
  std::size_t OtherLines() const { return m_file.OtherLines(); }
  /// True when the set's file held lines and not one of them was a level:
  /// it may be no set file at all.
  bool NoLevelRead() const { return m_file.NoLevelRead(); }

  // Each of these is one undoable change.
  /// Adds a level after the last one; returns its index.
  std::size_t Add(std::string code, std::string title = {});
  /// Puts levels in before the level at index (at the end when index is the
  /// set's size), as one change; nothing changes when there are none.
  void Insert(std::size_t index, std::vector<std::string> codes);
  /// Puts the levels in a new order, as one change: order[i] is the index of
  /// the level that goes to place i; it holds every index once.
  void Reorder(const std::vector<std::size_t>& order);
  // The index lies within the set.
  void Replace(std::size_t index, std::string code);
  void Remove(std::size_t index);
  /// Swaps the level with the one before (or after) it; false at the end of the set.
  bool MoveUp(std::size_t index);
  bool MoveDown(std::size_t index);
  void SetTitle(std::size_t index, std::string title);
  /// SetTitle kept as a rename of the level.
  void Rename(std::size_t index, std::string title);
  void SetNames(std::string title, std::string author);

 private:
  /// The levels with their ids, side by side.
  struct Contents {
    LevelSet set;
    std::vector<std::uint64_t> ids;
  };
  /// Makes a change to the contents, keeps it for undo and tells the listeners.
  void Change(ChangeKind kind, const std::function<void(Contents&)>& change);
  /// Puts kept contents in place, for undo and redo.
  void Restore(const Contents& contents);
  /// A fresh set's contents: every level gets a new id.
  void Reset(LevelSet set, std::string path, SetFileLines file);
  void Notify();

  Contents m_contents;
  std::optional<LevelSet> m_saved =
      LevelSet{};       // as last opened or saved; none when no file holds it
  SetFileLines m_file;  // the lines of its file
  std::string m_path;
  bool m_modified = false;
  std::uint64_t m_nextId = 1;
  History* m_history = nullptr;
  std::vector<std::function<void()>> m_listeners;
};
