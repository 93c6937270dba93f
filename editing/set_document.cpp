#include "editing/set_document.h"

#include <utility>

void SetDocument::New() {
  m_set = {};
  m_path.clear();
  m_modified = false;
}

std::vector<SetLineError> SetDocument::Open(std::string_view text, std::string path) {
  LevelSetReading reading = ReadLevelSet(text);
  m_set = std::move(reading.set);
  m_path = std::move(path);
  m_modified = false;
  return std::move(reading.errors);
}

void SetDocument::Saved(std::string path) {
  m_path = std::move(path);
  m_modified = false;
}

std::size_t SetDocument::Add(std::string code, std::string title) {
  m_set.levels.push_back({0, std::move(code), std::move(title)});
  Changed();
  return m_set.levels.size() - 1;
}

void SetDocument::Replace(std::size_t index, std::string code) {
  m_set.levels[index].code = std::move(code);
  Changed();
}

void SetDocument::Remove(std::size_t index) {
  m_set.levels.erase(m_set.levels.begin() + static_cast<std::ptrdiff_t>(index));
  Changed();
}

bool SetDocument::MoveUp(std::size_t index) {
  if (index == 0 || index >= size()) return false;
  std::swap(m_set.levels[index - 1], m_set.levels[index]);
  Changed();
  return true;
}

bool SetDocument::MoveDown(std::size_t index) {
  if (index + 1 >= size()) return false;
  std::swap(m_set.levels[index], m_set.levels[index + 1]);
  Changed();
  return true;
}

void SetDocument::SetTitle(std::size_t index, std::string title) {
  m_set.levels[index].title = std::move(title);
  Changed();
}

void SetDocument::SetNames(std::string title, std::string author) {
  m_set.title = std::move(title);
  m_set.author = std::move(author);
  Changed();
}
