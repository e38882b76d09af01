#include "public/rdcontrol/StringList.h"

#include "platform/TextCodec.h"
#include "public/rdcontrol/PropertyTable.h"

const TClassInfo& TStringList::StaticClass() {
  static const TClassInfo info = TPropertyTable<TStringList>("TStringList", &TPersistent::StaticClass())
                                     .StringArray("Strings", &TStringList::Lines, &TStringList::SetLines)
                                     .Build();
  return info;
}

void TStringList::SetStrings(int index, const std::string& s) {
  if (index < 0 || index >= Count() || FLines[size_t(index)] == s) return;
  FLines[size_t(index)] = s;
  Changed();
}

void TStringList::SetLines(const std::vector<std::string>& lines) {
  if (FLines == lines) return;
  FLines = lines;
  Changed();
}

void TStringList::Add(const std::string& s) {
  FLines.push_back(s);
  Changed();
}

void TStringList::Insert(int index, const std::string& s) {
  if (index < 0) index = 0;
  if (index > Count()) index = Count();
  FLines.insert(FLines.begin() + index, s);
  Changed();
}

void TStringList::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  FLines.erase(FLines.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (FLines.empty()) return;
  FLines.clear();
  Changed();
}

int TStringList::IndexOf(const std::string& s) const {
  for (size_t i = 0; i < FLines.size(); ++i)
    if (FLines[i] == s) return int(i);
  return -1;
}

std::string TStringList::Text() const {
  std::string out;
  for (const std::string& l : FLines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

void TStringList::SetText(const std::string& text) {
  SetLines(SplitLines(text));
}

void TStringList::Assign(const TPersistent& source) {
  if (auto* other = dynamic_cast<const TStringList*>(&source))
    SetLines(other->FLines);
  else
    TPersistent::Assign(source);
}
