#pragma once
#include <functional>
#include <string>
#include <vector>

#include "public/rdcontrol/Persistent.h"

// A list of strings as controls publish it (Lines, Items). A description stores it as its
// "Strings" property: Items.Strings = ('English' 'Deutsch').
class TStringList : public TPersistent {
  QVB_PERSISTENT(TStringList)

 public:
  TStringList() = default;

  int Count() const { return int(FLines.size()); }
  const std::string& Strings(int index) const { return FLines[size_t(index)]; }
  void SetStrings(int index, const std::string& s);
  const std::vector<std::string>& Lines() const { return FLines; }
  void SetLines(const std::vector<std::string>& lines);
  void Add(const std::string& s);
  void Insert(int index, const std::string& s);
  void Delete(int index);
  void Clear();
  // Exact comparison; -1 when absent.
  int IndexOf(const std::string& s) const;
  // The lines joined with CR LF after each line (the platform's Text), and its inverse.
  std::string Text() const;
  void SetText(const std::string& text);

  void Assign(const TPersistent& source) override;
  TPersistent* GetOwner() const override { return FOwner; }
  void SetOwner(TPersistent* owner) { FOwner = owner; }

  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }

  std::vector<std::string> FLines;
  TPersistent* FOwner{nullptr};
};
