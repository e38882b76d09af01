#pragma once
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// A list of text lines, each optionally owning an object (the section list of an INI file owns
// each section's entry list), with two hashes for lookups: one over whole lines and one over
// the key part (the text before the first "=") of entry lines. Letters are folded unless the
// list is case-sensitive. Both hashes are built lazily at the first lookup; appending or
// replacing a line then updates them for that one line, so loading or writing n lines costs
// about n hash operations. Deleting lines shifts indexes and leaves the hashes to be rebuilt.
// Where a line or key occurs more than once, lookups give the last one.
class TIniHashedStringList {
 public:
  explicit TIniHashedStringList(bool caseSensitive = false) : FCaseSensitive(caseSensitive) {}
  ~TIniHashedStringList();
  TIniHashedStringList(const TIniHashedStringList&) = delete;
  TIniHashedStringList& operator=(const TIniHashedStringList&) = delete;

  int Count() const { return int(FLines.size()); }
  const std::string& Strings(int index) const { return FLines[size_t(index)].Text; }
  const std::string& operator[](int index) const { return Strings(index); }
  TIniHashedStringList* Objects(int index) const { return FLines[size_t(index)].Object.get(); }
  bool CaseSensitive() const { return FCaseSensitive; }

  // The key part of line index (before the first "="), empty when it has no "=".
  std::string Names(int index) const;
  // The text after the first "=" of line index, empty when it has no "=".
  std::string ValueFromIndex(int index) const;

  int Add(const std::string& line) { return AddObject(line, nullptr); }
  int AddObject(const std::string& line, std::unique_ptr<TIniHashedStringList> object);
  void Put(int index, const std::string& line);  // replaces the text, keeps the object
  void Delete(int index);
  void Clear();
  void Assign(std::vector<std::string> lines);  // replaces all lines (objects are released)

  // Index of the last line equal to line (letter case as the list's rule), or -1.
  int IndexOf(const std::string& line) const;
  // Index of the last entry line whose key part equals name, or -1.
  int IndexOfName(const std::string& name) const;

  // Raised after every change of the list (add, replace, delete, clear).
  std::function<void()> OnChange;

 private:
  struct TLine {
    std::string Text;
    std::unique_ptr<TIniHashedStringList> Object;
  };
  // The lines under one hash key: the last one (what lookups give) and, rarely, earlier ones in
  // ascending order, which take over when the last one goes.
  struct TSlot {
    int Last{-1};
    std::vector<int> Earlier;
  };
  using THash = std::unordered_map<std::string, TSlot>;

  std::string Fold(const std::string& text) const;
  static bool KeyOf(const std::string& line, std::string& key);
  static void HashAdd(THash& hash, const std::string& key, int index);
  static void HashRemove(THash& hash, const std::string& key, int index);
  static int HashFind(const THash& hash, const std::string& key);
  void BuildLineHash() const;
  void BuildNameHash() const;
  void Changed();

  std::vector<TLine> FLines;
  bool FCaseSensitive{false};
  mutable THash FLineHash;
  mutable THash FNameHash;
  mutable bool FLineHashValid{false};
  mutable bool FNameHashValid{false};
};
