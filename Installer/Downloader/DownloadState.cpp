#include "Installer/Downloader/DownloadState.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "platform/TextCodec.h"
#include "support/SafeIniFile.h"

namespace {
const char* const kGlobal = "GLOBAL";
const char* const kPartPrefix = "PART_";

bool IsPartSection(const std::string& name) { return StartsText(kPartPrefix, name); }
}  // namespace

int64_t TDownloadState::ParseCount(const std::string& text, int64_t def) {
  const std::string trimmed = Trim(text);
  if (trimmed.empty()) return def;
  int64_t value = 0;
  auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
  if (error != std::errc() || end != trimmed.data() + trimmed.size() || value < 0) return def;
  return value;
}

int64_t TDownloadState::OwnedLength(int64_t start, int64_t end, int64_t contentLength) {
  // Saturating: offsets come from a file and may be anything up to the largest count.
  const int64_t last = std::min(end, contentLength - 1);
  if (last < start) return 0;
  const int64_t span = last - start;
  return span == INT64_MAX ? INT64_MAX : span + 1;
}

TDownloadState TDownloadState::Read(const TSafeIniFile& ini) {
  TDownloadState state;
  state.ConfigMD5 = ini.ReadString(kGlobal, "DownloadConfigMD5", "");
  state.Url = ini.ReadString(kGlobal, "Url", "");
  state.ContentLength = ParseCount(ini.ReadString(kGlobal, "ContentLength", ""), 0);
  state.DownloadedSize = ParseCount(ini.ReadString(kGlobal, "DownloadedSize", ""), 0);
  state.PartCount = ini.ReadInteger(kGlobal, "PartCount", 1);
  for (const auto& name : ini.ReadSections()) {
    if (!IsPartSection(name)) continue;
    // The index is the number after the prefix, at most eight digits.
    const std::string digits = name.substr(5, 8);
    if (name.size() > 13 || digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    const int index = std::stoi(digits);
    if (index < 0 || index >= state.PartCount) continue;
    if (std::any_of(state.Parts.begin(), state.Parts.end(), [&](const auto& p) { return p.Index == index; })) continue;
    TDownloadPartState part;
    part.Index = index;
    part.StartOffset = ParseCount(ini.ReadString(name, "StartOffset", ""), 0);
    part.EndOffset = ParseCount(ini.ReadString(name, "EndOffset", ""), 0);
    part.DataCount = ParseCount(ini.ReadString(name, "DataCount", ""), 0);
    part.URL = ini.ReadString(name, "URL", "");
    // A count that cannot belong to the range means nothing of it is known to be written.
    const int64_t length =
        OwnedLength(part.StartOffset, part.EndOffset, state.ContentLength > 0 ? state.ContentLength : INT64_MAX);
    if (part.DataCount > length) part.DataCount = 0;
    part.Done = length > 0 && part.DataCount >= length;
    state.Parts.push_back(part);
  }
  std::sort(state.Parts.begin(), state.Parts.end(), [](const auto& a, const auto& b) { return a.Index < b.Index; });
  return state;
}

void TDownloadState::Write(TSafeIniFile& ini) const {
  for (const auto& name : ini.ReadSections())
    if (IsPartSection(name)) ini.EraseSection(name);
  ini.EraseSection(kGlobal);
  ini.WriteString(kGlobal, "DownloadConfigMD5", ConfigMD5);
  ini.WriteString(kGlobal, "Url", Url);
  ini.WriteString(kGlobal, "ContentLength", std::to_string(ContentLength));
  ini.WriteString(kGlobal, "DownloadedSize", std::to_string(DownloadedSize));
  ini.WriteInteger(kGlobal, "PartCount", PartCount);
  for (const auto& part : Parts) {
    const std::string section = kPartPrefix + std::to_string(part.Index);
    ini.WriteString(section, "StartOffset", std::to_string(part.StartOffset));
    ini.WriteString(section, "EndOffset", std::to_string(part.EndOffset));
    ini.WriteString(section, "DataCount", std::to_string(part.DataCount));
    ini.WriteString(section, "URL", part.URL);
    ini.WriteBool(section, "Done", part.Done);
  }
}

bool TDownloadState::Usable() const {
  if (ContentLength <= 0 || Parts.empty()) return false;
  std::vector<const TDownloadPartState*> byStart;
  for (const auto& part : Parts) byStart.push_back(&part);
  std::sort(byStart.begin(), byStart.end(), [](auto a, auto b) { return a->StartOffset < b->StartOffset; });
  int64_t next = 0;  // the first byte not yet covered
  for (const auto* part : byStart) {
    if (part->StartOffset != next || part->EndOffset < part->StartOffset || part->EndOffset > ContentLength) return false;
    const int64_t length = OwnedLength(part->StartOffset, part->EndOffset, ContentLength);
    if (length <= 0 || part->DataCount > length) return false;
    next = part->StartOffset + length;
  }
  return next == ContentLength;
}
