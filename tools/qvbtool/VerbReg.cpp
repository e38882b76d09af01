// qvbtool reg: add, query and delete registry values and keys in the style of reg.exe.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>

#include "platform/Platform.h"
#include "platform/RegistryStore.h"
#include "platform/TextCodec.h"
#include "tools/qvbtool/Verb.h"

namespace {

struct TRegArgs {
  std::string Command;
  TRootKey Root{TRootKey::CurrentUser};
  std::string Path;         // below the root, without surrounding '\'
  std::string DisplayKey;   // the long root name and the path, as reg.exe prints keys
  bool HasName{false};      // /v or /ve
  std::string Name;
  bool AllValues{false};    // /va
  std::string Type{"REG_SZ"};
  std::string Data;
  bool View32{false};
};

int Failure(const std::string& message) {
  std::cerr << "qvbtool: reg: " << message << "\n";
  return 1;
}

bool ParseKey(const std::string& key, TRegArgs& args) {
  static const std::pair<const char*, const char*> kRoots[] = {
      {"HKLM", "HKEY_LOCAL_MACHINE"}, {"HKCU", "HKEY_CURRENT_USER"}, {"HKCR", "HKEY_CLASSES_ROOT"}};
  static const TRootKey kRootKeys[] = {TRootKey::LocalMachine, TRootKey::CurrentUser, TRootKey::ClassesRoot};
  const size_t slash = key.find('\\');
  const std::string root = key.substr(0, slash);
  std::string path = slash == std::string::npos ? "" : key.substr(slash + 1);
  while (!path.empty() && path.back() == '\\') path.pop_back();
  for (size_t i = 0; i < 3; ++i) {
    if (!SameText(root, kRoots[i].first) && !SameText(root, kRoots[i].second)) continue;
    args.Root = kRootKeys[i];
    args.Path = path;
    args.DisplayKey = std::string(kRoots[i].second) + (path.empty() ? "" : "\\" + path);
    return true;
  }
  return false;
}

// Returns an empty text when the arguments fit the command, else the complaint.
std::string ParseArgs(const std::vector<std::string>& argv, TRegArgs& args) {
  if (argv.empty()) return "missing command (add, query or delete)";
  args.Command = LowerCase(argv[0]);
  if (args.Command != "add" && args.Command != "query" && args.Command != "delete")
    return "unknown command '" + argv[0] + "'";
  if (argv.size() < 2) return "missing KEY";
  if (!ParseKey(argv[1], args)) return "invalid key '" + argv[1] + "' (begin with HKLM, HKCU or HKCR)";
  const std::string allowed = args.Command == "add" ? "/v /ve /t /d /f /reg:32 /reg:64"
                              : args.Command == "query" ? "/v /ve /reg:32 /reg:64"
                                                        : "/v /ve /va /f /reg:32 /reg:64";
  std::map<std::string, bool> seen;
  for (size_t i = 2; i < argv.size(); ++i) {
    std::string sw = LowerCase(argv[i]);
    if (sw.size() > 1 && sw[0] == '-') sw[0] = '/';
    if (sw.empty() || sw[0] != '/' || (" " + allowed + " ").find(" " + sw + " ") == std::string::npos)
      return "unexpected argument '" + argv[i] + "'";
    const std::string group = sw.rfind("/reg:", 0) == 0 ? "/reg" : (sw == "/ve" || sw == "/va") ? "/v" : sw;
    if (!seen.emplace(group, true).second) return "argument '" + argv[i] + "' given twice or with a rival";
    const bool takesValue = sw == "/v" || sw == "/t" || sw == "/d";
    if (takesValue && i + 1 >= argv.size()) return "missing value after '" + argv[i] + "'";
    if (sw == "/v" || sw == "/ve") {
      args.HasName = true;
      args.Name = sw == "/v" ? argv[++i] : "";
    } else if (sw == "/va") {
      args.AllValues = true;
    } else if (sw == "/t") {
      args.Type = UpperCase(argv[++i]);
    } else if (sw == "/d") {
      args.Data = argv[++i];
    } else if (sw == "/reg:32") {
      args.View32 = true;
    }
  }
  if (!args.HasName && (seen.count("/t") || seen.count("/d"))) return "/t and /d need /v NAME or /ve";
  return "";
}

bool ParseDword(const std::string& text, uint32_t& out) {
  if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') return false;
  errno = 0;
  char* end = nullptr;
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const unsigned long long v = std::strtoull(hex ? text.c_str() + 2 : text.c_str(), &end, hex ? 16 : 10);
  if (errno || *end || end == text.c_str() || v > 0xFFFFFFFFull) return false;
  out = uint32_t(v);
  return true;
}

std::string TypeName(TRegType type) {
  switch (type) {
    case TRegType::None: return "REG_NONE";
    case TRegType::Sz: return "REG_SZ";
    case TRegType::ExpandSz: return "REG_EXPAND_SZ";
    case TRegType::Binary: return "REG_BINARY";
    case TRegType::Dword: return "REG_DWORD";
    case TRegType::MultiSz: return "REG_MULTI_SZ";
    case TRegType::Qword: return "REG_QWORD";
  }
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "REG_0x%x", unsigned(type));
  return buffer;
}

std::string DataText(const TRegValue& value) {
  char buffer[24];
  switch (value.Type) {
    case TRegType::Sz:
    case TRegType::ExpandSz:
      return value.Text;
    case TRegType::Dword:
      std::snprintf(buffer, sizeof buffer, "0x%x", value.Dword);
      return buffer;
    case TRegType::Qword:
      if (value.Data.size() == 8) {
        unsigned long long q = 0;
        for (int i = 7; i >= 0; --i) q = (q << 8) | uint8_t(value.Data[i]);
        std::snprintf(buffer, sizeof buffer, "0x%llx", q);
        return buffer;
      }
      break;
    case TRegType::MultiSz: {
      std::u16string units;
      for (size_t i = 0; i + 1 < value.Data.size(); i += 2)
        units += char16_t(uint8_t(value.Data[i]) | uint8_t(value.Data[i + 1]) << 8);
      while (!units.empty() && units.back() == 0) units.pop_back();
      std::string text;
      for (char16_t u : units) text += u ? Utf16ToUtf8(std::u16string(1, u)) : std::string("\\0");
      return text;
    }
    default:
      break;
  }
  std::string hex;
  for (unsigned char c : value.Data) {
    std::snprintf(buffer, sizeof buffer, "%02X", c);
    hex += buffer;
  }
  return hex;
}

// The store's failure as one line: what could not be found, or why the hive refused.
int StoreFailure(TRegistryStore& store, const std::string& what) {
  const int error = store.LastError();
  if (error == ENOENT) return Failure("unable to find " + what);
  if (error == EBADMSG) return Failure("the registry file cannot be parsed; it is kept aside on the next write");
  return Failure(what + ": " + std::strerror(error));
}

std::string ValueWhat(const TRegArgs& args) {
  return args.Name.empty() ? "the default value of " + args.DisplayKey : "value '" + args.Name + "' in " + args.DisplayKey;
}

int RunAdd(TRegistryStore& store, const TRegArgs& args) {
  if (!args.HasName) {
    if (!store.CreateKey(args.Root, args.Path, args.View32)) return StoreFailure(store, args.DisplayKey);
  } else {
    TRegValue value;
    if (args.Type == "REG_SZ") {
      value.Type = TRegType::Sz;
      value.Text = args.Data;
    } else if (args.Type == "REG_EXPAND_SZ") {
      value.Type = TRegType::ExpandSz;
      value.Text = args.Data;
    } else if (args.Type == "REG_DWORD") {
      value.Type = TRegType::Dword;
      if (!ParseDword(args.Data, value.Dword))
        return UsageError("reg: REG_DWORD data must be a number from 0 to 4294967295 (decimal or 0x...)");
    } else {
      return UsageError("reg: unsupported type '" + args.Type + "' (REG_SZ, REG_EXPAND_SZ or REG_DWORD)");
    }
    if (!store.WriteValue(args.Root, args.Path, args.Name, value, args.View32)) {
      if (store.LastError() == EINVAL) return UsageError("reg: the key or value name cannot be stored");
      return StoreFailure(store, ValueWhat(args));
    }
  }
  std::cout << "The operation completed successfully.\n";
  return 0;
}

std::string ValueLine(const std::string& name, const TRegValue& value) {
  return "    " + (name.empty() ? std::string("(Default)") : name) + "    " + TypeName(value.Type) + "    " +
         DataText(value) + "\n";
}

int RunQuery(TRegistryStore& store, const TRegArgs& args) {
  if (!store.KeyExists(args.Root, args.Path, args.View32)) return StoreFailure(store, args.DisplayKey);
  std::string out = "\n" + args.DisplayKey + "\n";
  if (args.HasName) {
    TRegValue value;
    if (!store.ReadValue(args.Root, args.Path, args.Name, value, args.View32))
      return StoreFailure(store, ValueWhat(args));
    std::string stored = args.Name;  // printed in the case it was written in
    for (const auto& name : store.ValueNames(args.Root, args.Path, args.View32))
      if (SameText(name, args.Name)) stored = name;
    std::cout << out << ValueLine(stored, value) << "\n";
    return 0;
  }
  for (const auto& name : store.ValueNames(args.Root, args.Path, args.View32)) {
    TRegValue value;
    if (store.ReadValue(args.Root, args.Path, name, value, args.View32)) out += ValueLine(name, value);
  }
  out += "\n";
  for (const auto& sub : store.SubKeys(args.Root, args.Path, args.View32)) out += args.DisplayKey + "\\" + sub + "\n";
  std::cout << out;
  return 0;
}

int RunDelete(TRegistryStore& store, const TRegArgs& args) {
  if (args.HasName) {
    if (!store.DeleteValue(args.Root, args.Path, args.Name, args.View32))
      return StoreFailure(store, ValueWhat(args));
  } else if (args.AllValues) {
    if (!store.KeyExists(args.Root, args.Path, args.View32)) return StoreFailure(store, args.DisplayKey);
    for (const auto& name : store.ValueNames(args.Root, args.Path, args.View32))
      if (!store.DeleteValue(args.Root, args.Path, name, args.View32)) return StoreFailure(store, ValueWhat(args));
  } else {
    if (args.Path.empty()) return UsageError("reg: a root key cannot be deleted");
    if (!store.DeleteKey(args.Root, args.Path, args.View32)) return StoreFailure(store, args.DisplayKey);
  }
  std::cout << "The operation completed successfully.\n";
  return 0;
}

int RunReg(const std::vector<std::string>& argv) {
  TRegArgs args;
  const std::string complaint = ParseArgs(argv, args);
  if (!complaint.empty()) return UsageError("reg: " + complaint);
  TRegistryStore& store = TPlatform::Current().Registry();
  if (args.Command == "add") return RunAdd(store, args);
  if (args.Command == "query") return RunQuery(store, args);
  return RunDelete(store, args);
}

TVerbRegistration reg{"reg",
                      "reg add KEY [/v NAME | /ve] [/t REG_SZ|REG_EXPAND_SZ|REG_DWORD] [/d DATA] [/f] [/reg:32|/reg:64]\n"
                      "reg query KEY [/v NAME | /ve] [/reg:32|/reg:64]\n"
                      "reg delete KEY [/v NAME | /ve | /va] [/f] [/reg:32|/reg:64]   (KEY: HKLM\\..., HKCU\\..., HKCR\\...)",
                      RunReg};

}  // namespace
