#include "platform/Paths.h"

#include "platform/Platform.h"

namespace {

char CurrentSeparator() { return TPlatform::Current().Files().Separator(); }

bool IsSeparator(char c, char separator) { return c == separator || (separator == '\\' && c == '/'); }

bool IsDelimiterOrDrive(char c, char separator) {
  return IsSeparator(c, separator) || (separator == '\\' && c == ':');
}

// Index of the last separator (or drive colon), npos when none.
size_t LastDelimiter(const std::string& path, char separator) {
  for (size_t i = path.size(); i > 0; --i)
    if (IsDelimiterOrDrive(path[i - 1], separator)) return i - 1;
  return std::string::npos;
}

}  // namespace

std::string ExtractFilePath(const std::string& path, char separator) {
  const size_t i = LastDelimiter(path, separator);
  return i == std::string::npos ? std::string() : path.substr(0, i + 1);
}

std::string ExtractFileName(const std::string& path, char separator) {
  const size_t i = LastDelimiter(path, separator);
  return i == std::string::npos ? path : path.substr(i + 1);
}

std::string ExtractFileDir(const std::string& path, char separator) {
  size_t i = LastDelimiter(path, separator);
  if (i == std::string::npos) return std::string();
  // Keep the separator of a root ("/", "C:\") so that the result still names that root.
  if (i > 0 && IsSeparator(path[i], separator) && !IsDelimiterOrDrive(path[i - 1], separator))
    return path.substr(0, i);
  return path.substr(0, i + 1);
}

std::string ExtractFileExt(const std::string& path, char separator) {
  const std::string name = ExtractFileName(path, separator);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string IncludeTrailingPathDelimiter(const std::string& path, char separator) {
  if (!path.empty() && IsSeparator(path.back(), separator)) return path;
  return path + separator;
}

std::string ExcludeTrailingPathDelimiter(const std::string& path, char separator) {
  if (!path.empty() && IsSeparator(path.back(), separator)) return path.substr(0, path.size() - 1);
  return path;
}

std::string JoinPath(const std::string& folder, const std::string& name, char separator) {
  if (folder.empty()) return name;
  size_t skip = 0;
  while (skip < name.size() && IsSeparator(name[skip], separator)) ++skip;
  return IncludeTrailingPathDelimiter(folder, separator) + name.substr(skip);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension, char separator) {
  const size_t nameStart = LastDelimiter(path, separator) + 1;  // npos + 1 == 0
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < nameStart) return path + extension;
  return path.substr(0, dot) + extension;
}

std::string ExtractFilePath(const std::string& path) { return ExtractFilePath(path, CurrentSeparator()); }
std::string ExtractFileName(const std::string& path) { return ExtractFileName(path, CurrentSeparator()); }
std::string ExtractFileDir(const std::string& path) { return ExtractFileDir(path, CurrentSeparator()); }
std::string ExtractFileExt(const std::string& path) { return ExtractFileExt(path, CurrentSeparator()); }
std::string IncludeTrailingPathDelimiter(const std::string& path) {
  return IncludeTrailingPathDelimiter(path, CurrentSeparator());
}
std::string ExcludeTrailingPathDelimiter(const std::string& path) {
  return ExcludeTrailingPathDelimiter(path, CurrentSeparator());
}
std::string JoinPath(const std::string& folder, const std::string& name) {
  return JoinPath(folder, name, CurrentSeparator());
}
std::string ChangeFileExt(const std::string& path, const std::string& extension) {
  return ChangeFileExt(path, extension, CurrentSeparator());
}
