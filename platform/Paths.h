#pragma once
#include <string>

// Path text helpers on the current platform's separator (TFileSystem::Separator()). With the
// Windows-style separator '/' also counts as a separator and ':' ends a drive ("C:").
// Each has an overload taking the separator, for code that works on the other style.

// The folder part with its trailing separator ("C:\a\b.txt" -> "C:\a\"; "b.txt" -> "").
std::string ExtractFilePath(const std::string& path);
std::string ExtractFilePath(const std::string& path, char separator);
// The name after the last separator.
std::string ExtractFileName(const std::string& path);
std::string ExtractFileName(const std::string& path, char separator);
// The folder part without its trailing separator, except at a root ("C:\b" -> "C:\", "/b" -> "/").
std::string ExtractFileDir(const std::string& path);
std::string ExtractFileDir(const std::string& path, char separator);
// The extension of the name with its dot ("a.tar.gz" -> ".gz"); empty when none.
std::string ExtractFileExt(const std::string& path);
std::string ExtractFileExt(const std::string& path, char separator);
// NOTE: an empty path becomes a lone separator, as the rules written for Windows expect.
std::string IncludeTrailingPathDelimiter(const std::string& path);
std::string IncludeTrailingPathDelimiter(const std::string& path, char separator);
// Removes one trailing separator.
std::string ExcludeTrailingPathDelimiter(const std::string& path);
std::string ExcludeTrailingPathDelimiter(const std::string& path, char separator);
// folder + separator + name, with exactly one separator between them; an empty folder gives name.
std::string JoinPath(const std::string& folder, const std::string& name);
std::string JoinPath(const std::string& folder, const std::string& name, char separator);
// Replaces the extension of the name (or appends one); extension includes its dot.
std::string ChangeFileExt(const std::string& path, const std::string& extension);
std::string ChangeFileExt(const std::string& path, const std::string& extension, char separator);
