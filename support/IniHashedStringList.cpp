#include "support/IniHashedStringList.h"

#include <algorithm>

#include "platform/TextCodec.h"

TIniHashedStringList::~TIniHashedStringList() = default;

std::string TIniHashedStringList::Fold(const std::string& text) const {
  return FCaseSensitive ? text : UpperCase(text);
}

bool TIniHashedStringList::KeyOf(const std::string& line, std::string& key) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  key.assign(line, 0, equals);
  return true;
}

std::string TIniHashedStringList::Names(int index) const {
  std::string key;
  KeyOf(Strings(index), key);
  return key;
}

std::string TIniHashedStringList::ValueFromIndex(int index) const {
  const std::string& line = Strings(index);
  const size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

void TIniHashedStringList::HashAdd(THash& hash, const std::string& key, int index) {
  TSlot& slot = hash[key];
  if (slot.Last < 0) {
    slot.Last = index;
  } else if (index > slot.Last) {
    slot.Earlier.push_back(slot.Last);
    slot.Last = index;
  } else {
    slot.Earlier.insert(std::upper_bound(slot.Earlier.begin(), slot.Earlier.end(), index), index);
  }
}

void TIniHashedStringList::HashRemove(THash& hash, const std::string& key, int index) {
  auto found = hash.find(key);
  if (found == hash.end()) return;
  TSlot& slot = found->second;
  if (slot.Last == index) {
    if (slot.Earlier.empty()) {
      hash.erase(found);
      return;
    }
    slot.Last = slot.Earlier.back();
    slot.Earlier.pop_back();
    return;
  }
  auto at = std::lower_bound(slot.Earlier.begin(), slot.Earlier.end(), index);
  if (at != slot.Earlier.end() && *at == index) slot.Earlier.erase(at);
}

int TIniHashedStringList::HashFind(const THash& hash, const std::string& key) {
  auto found = hash.find(key);
  return found == hash.end() ? -1 : found->second.Last;
}

void TIniHashedStringList::BuildLineHash() const {
  FLineHash.clear();
  FLineHash.reserve(FLines.size());
  for (size_t i = 0; i < FLines.size(); ++i) HashAdd(FLineHash, Fold(FLines[i].Text), int(i));
  FLineHashValid = true;
}

void TIniHashedStringList::BuildNameHash() const {
  FNameHash.clear();
  FNameHash.reserve(FLines.size());
  std::string key;
  for (size_t i = 0; i < FLines.size(); ++i)
    if (KeyOf(FLines[i].Text, key)) HashAdd(FNameHash, Fold(key), int(i));
  FNameHashValid = true;
}

int TIniHashedStringList::AddObject(const std::string& line, std::unique_ptr<TIniHashedStringList> object) {
  const int index = Count();
  FLines.push_back(TLine{line, std::move(object)});
  // The new index is the largest, so it becomes the last under its key.
  if (FLineHashValid) HashAdd(FLineHash, Fold(line), index);
  std::string key;
  if (FNameHashValid && KeyOf(line, key)) HashAdd(FNameHash, Fold(key), index);
  Changed();
  return index;
}

void TIniHashedStringList::Put(int index, const std::string& line) {
  std::string& text = FLines[size_t(index)].Text;
  if (FLineHashValid) {
    const std::string oldFolded = Fold(text), newFolded = Fold(line);
    if (oldFolded != newFolded) {
      HashRemove(FLineHash, oldFolded, index);
      HashAdd(FLineHash, newFolded, index);
    }
  }
  if (FNameHashValid) {
    std::string oldKey, newKey;
    const bool hadKey = KeyOf(text, oldKey), hasKey = KeyOf(line, newKey);
    if (hadKey) oldKey = Fold(oldKey);
    if (hasKey) newKey = Fold(newKey);
    if (hadKey != hasKey || oldKey != newKey) {
      if (hadKey) HashRemove(FNameHash, oldKey, index);
      if (hasKey) HashAdd(FNameHash, newKey, index);
    }
  }
  text = line;
  Changed();
}

void TIniHashedStringList::Delete(int index) {
  FLines.erase(FLines.begin() + index);
  // Every later index moves down by one: rebuild at the next lookup.
  FLineHashValid = FNameHashValid = false;
  Changed();
}

void TIniHashedStringList::Clear() {
  FLines.clear();
  FLineHashValid = FNameHashValid = false;
  Changed();
}

void TIniHashedStringList::Assign(std::vector<std::string> lines) {
  FLines.clear();
  FLines.reserve(lines.size());
  for (std::string& line : lines) FLines.push_back(TLine{std::move(line), nullptr});
  FLineHashValid = FNameHashValid = false;
  Changed();
}

int TIniHashedStringList::IndexOf(const std::string& line) const {
  if (!FLineHashValid) BuildLineHash();
  return HashFind(FLineHash, Fold(line));
}

int TIniHashedStringList::IndexOfName(const std::string& name) const {
  if (!FNameHashValid) BuildNameHash();
  return HashFind(FNameHash, Fold(name));
}

void TIniHashedStringList::Changed() {
  if (OnChange) OnChange();
}
