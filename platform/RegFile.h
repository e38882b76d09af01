#pragma once
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/RegistryStore.h"

// One key of a hive tree. Names compare without regard to letter case and keep the case in
// which they were first written. Sub-keys enumerate in case-folded order, as Windows lists
// them; values in the order they were created.
struct TRegKey {
  std::string Name;
  std::vector<std::pair<std::string, TRegValue>> Values;
  std::map<std::string, std::unique_ptr<TRegKey>> SubKeys;  // by folded name

  TRegKey* FindSubKey(const std::string& name) const;
  TRegKey* AddSubKey(const std::string& name);  // the existing one when present
  bool RemoveSubKey(const std::string& name);
  const TRegValue* FindValue(const std::string& name) const;
  // True when something changed.
  bool SetValue(const std::string& name, const TRegValue& value);
  bool RemoveValue(const std::string& name);
  bool operator==(const TRegKey& other) const;  // names, values and sub-keys, recursively
};

// The ".reg" export form of one hive, as regedit writes it: "Windows Registry Editor Version
// 5.00", one "[ROOT\path]" section per key in pre-order, "name"="text" with \\ and \" escapes,
// @= for the default value, dword:0000002a, hex(2): UTF-16 LE bytes for expandable strings,
// hex(N): bytes for the other types, long hex lines continued with "\" like regedit; the
// bytes are UTF-16 LE with a byte-order mark and CR LF line ends.
//
// The parser reads any text without crashing: key depth and name lengths are bounded as
// Windows bounds them, and a key tree is never walked by unbounded recursion. Blank lines,
// ';' comments and unknown backslash escapes are tolerated; anything else that is not a
// section or value line makes the file unreadable (Parse fails and says where).
class TRegFile {
public:
  static constexpr size_t MaxDepth = 512;         // key levels below the root
  static constexpr size_t MaxKeyNameLength = 255;  // UTF-16 units of one key name
  static constexpr size_t MaxValueNameLength = 16383;

  // text: decoded (UTF-8). rootName: the section prefix this hive holds ("HKEY_LOCAL_MACHINE").
  static bool Parse(const std::string& text, const std::string& rootName, TRegKey& root,
                    std::string* error = nullptr);
  static std::string Format(const TRegKey& root, const std::string& rootName);

  // File bytes: an empty file is an empty hive; any byte-order mark is accepted on reading.
  static bool FromBytes(const std::string& bytes, const std::string& rootName, TRegKey& root,
                        std::string* error = nullptr);
  static std::string ToBytes(const TRegKey& root, const std::string& rootName);

  // Whether a key or value name can be stored in this form.
  static bool ValidKeyName(const std::string& name);
  static bool ValidValueName(const std::string& name);
};

// Case folding for key and value names.
std::string FoldRegName(const std::string& name);
