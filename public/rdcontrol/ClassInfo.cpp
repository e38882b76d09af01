#include "public/rdcontrol/ClassInfo.h"

#include "platform/TextCodec.h"

namespace {
std::string IndexKey(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = char(std::tolower(static_cast<unsigned char>(c)));
  return key;
}
}  // namespace

TClassInfo::TClassInfo(std::string name, const TClassInfo* parent, TFactory factory,
                       std::vector<TPropInfo> own)
    : FName(std::move(name)), FParent(parent), FFactory(std::move(factory)), FOwn(std::move(own)) {
  if (FParent) FAll = FParent->FAll;
  for (const TPropInfo& p : FOwn) {
    bool replaced = false;
    for (const TPropInfo*& inherited : FAll) {
      if (SameText(inherited->Name, p.Name)) {
        inherited = &p;
        replaced = true;
        break;
      }
    }
    if (!replaced) FAll.push_back(&p);
  }
  for (const TPropInfo* p : FAll) FIndex[IndexKey(p->Name)] = p;
}

bool TClassInfo::InheritsFrom(std::string_view className) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    if (SameText(c->FName, std::string(className))) return true;
  return false;
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
  for (const TClassInfo* c = this; c; c = c->FParent)
    if (c == &other) return true;
  return false;
}

const TPropInfo* TClassInfo::FindProperty(std::string_view name) const {
  auto it = FIndex.find(IndexKey(name));
  return it == FIndex.end() ? nullptr : it->second;
}
