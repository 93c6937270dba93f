#include "editing/set_document.h"

#include <utility>

std::optional<std::size_t> SetDocument::IndexOf(std::uint64_t id) const {
  for (std::size_t i = 0; i < m_contents.ids.size(); ++i) {
    if (m_contents.ids[i] == id) return i;
  }
  return std::nullopt;
}

void SetDocument::New() { Reset({}, {}, {}); }

std::vector<SetLineError> SetDocument::Open(std::string_view text, std::string path) {
  LevelSetReading reading = ReadLevelSet(text);
  SetFileLines file(text, reading);
  Reset(std::move(reading.set), std::move(path), std::move(file));
  return std::move(reading.errors);
}

void SetDocument::Reset(LevelSet set, std::string path, SetFileLines file) {
  m_file = std::move(file);
  m_contents.ids.clear();
  for (std::size_t i = 0; i < set.levels.size(); ++i) m_contents.ids.push_back(m_nextId++);
  m_contents.set = std::move(set);
  m_saved = m_contents.set;
  m_path = std::move(path);
  m_modified = false;
  if (m_history != nullptr) m_history->Clear();
  Notify();
}

// The file now holds the text: its lines are those of a fresh reading of it.
void SetDocument::Recovered(std::string_view text, std::string path, bool modified) {
  Open(text, std::move(path));
  if (!modified) return;
  m_saved.reset();
  m_modified = true;
  Notify();
}

void SetDocument::Saved(std::string path) {
  const std::string text = Text();
  m_file = SetFileLines(text, ReadLevelSet(text));
  m_path = std::move(path);
  m_saved = m_contents.set;
  m_modified = false;
  Notify();
}

void SetDocument::Change(ChangeKind kind, const std::function<void(Contents&)>& change) {
  const Contents before = m_contents;
  change(m_contents);
  m_modified = !m_saved || !(m_contents.set == *m_saved);
  if (m_history != nullptr) {
    m_history->Push({kind, [this, before] { Restore(before); },
                     [this, after = m_contents] { Restore(after); }});
  }
  Notify();
}

void SetDocument::Restore(const Contents& contents) {
  m_contents = contents;
  m_modified = !m_saved || !(m_contents.set == *m_saved);
  Notify();
}

void SetDocument::Notify() {
  for (const auto& listener : m_listeners) listener();
}

std::size_t SetDocument::Add(std::string code, std::string title) {
  Change(ChangeKind::AddLevel, [&](Contents& contents) {
    contents.set.levels.push_back({0, std::move(code), std::move(title)});
    contents.ids.push_back(m_nextId++);
  });
  return size() - 1;
}

void SetDocument::Insert(std::size_t index, std::vector<std::string> codes) {
  if (codes.empty()) return;
  Change(ChangeKind::AddLevels, [&](Contents& contents) {
    const auto at = static_cast<std::ptrdiff_t>(index);
    std::vector<SetLevel> levels;
    std::vector<std::uint64_t> ids;
    for (std::string& code : codes) {
      levels.push_back({0, std::move(code), {}});
      ids.push_back(m_nextId++);
    }
    contents.set.levels.insert(contents.set.levels.begin() + at, levels.begin(), levels.end());
    contents.ids.insert(contents.ids.begin() + at, ids.begin(), ids.end());
  });
}

void SetDocument::Reorder(const std::vector<std::size_t>& order) {
  Change(ChangeKind::SortLevels, [&](Contents& contents) {
    const Contents before = contents;
    for (std::size_t place = 0; place < order.size(); ++place) {
      contents.set.levels[place] = before.set.levels[order[place]];
      contents.ids[place] = before.ids[order[place]];
    }
  });
}

void SetDocument::Replace(std::size_t index, std::string code) {
  Change(ChangeKind::UpdateLevel,
         [&](Contents& contents) { contents.set.levels[index].code = std::move(code); });
}

void SetDocument::Remove(std::size_t index) {
  Change(ChangeKind::RemoveLevel, [&](Contents& contents) {
    const auto at = static_cast<std::ptrdiff_t>(index);
    contents.set.levels.erase(contents.set.levels.begin() + at);
    contents.ids.erase(contents.ids.begin() + at);
  });
}

bool SetDocument::MoveUp(std::size_t index) {
  if (index == 0 || index >= size()) return false;
  Change(ChangeKind::MoveLevelUp, [&](Contents& contents) {
    std::swap(contents.set.levels[index - 1], contents.set.levels[index]);
    std::swap(contents.ids[index - 1], contents.ids[index]);
  });
  return true;
}

bool SetDocument::MoveDown(std::size_t index) {
  if (index + 1 >= size()) return false;
  Change(ChangeKind::MoveLevelDown, [&](Contents& contents) {
    std::swap(contents.set.levels[index], contents.set.levels[index + 1]);
    std::swap(contents.ids[index], contents.ids[index + 1]);
  });
  return true;
}

void SetDocument::SetTitle(std::size_t index, std::string title) {
  Change(ChangeKind::Titles,
         [&](Contents& contents) { contents.set.levels[index].title = std::move(title); });
}

void SetDocument::Rename(std::size_t index, std::string title) {
  Change(ChangeKind::RenameLevel,
         [&](Contents& contents) { contents.set.levels[index].title = std::move(title); });
}

void SetDocument::SetNames(std::string title, std::string author) {
  Change(ChangeKind::Titles, [&](Contents& contents) {
    contents.set.title = std::move(title);
    contents.set.author = std::move(author);
  });
}
