#include "support/FileVersion.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

#include "platform/Platform.h"
#include "platform/TextCodec.h"

// The version resource sits three directory levels deep in the resource section of a PE image:
// type (RT_VERSION) -> name (VS_VERSION_INFO, id 1) -> language. Its data is a tree of blocks
// (VS_VERSIONINFO, StringFileInfo, StringTable, String, VarFileInfo, Var), each
// { wLength, wValueLength, wType, UTF-16 key, padding, value, padding, children }.
// Damaged input is common (truncated downloads, packers), so every field is checked against
// the bytes actually read before it is used.

namespace {

constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kVsVersionInfoId = 1;
constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr size_t kMaxVersionResource = 0x10000;  // wLength is 16 bits

uint16_t U16(const std::string& b, size_t at) {
  return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}
uint32_t U32(const std::string& b, size_t at) {
  return uint32_t(U16(b, at)) | uint32_t(U16(b, at + 2)) << 16;
}
size_t Align4(size_t at) {
  return (at + 3) & ~size_t(3);
}

struct TSection {
  uint32_t VirtualAddress{0}, VirtualSize{0}, RawSize{0}, RawOffset{0};
};

// Maps the image's relative virtual addresses to file offsets through the section table.
class TImage {
 public:
  explicit TImage(const TImageReader& read) : FRead(read) {}

  bool Read(uint64_t offset, size_t count, std::string& out) const {
    out.clear();
    return FRead(offset, count, out) && out.size() == count;
  }

  bool LoadHeaders() {
    std::string dos;
    if (!Read(0, 64, dos) || dos[0] != 'M' || dos[1] != 'Z') return false;
    const uint64_t pe = U32(dos, 0x3C);
    std::string head;
    if (!Read(pe, 24, head) || head.compare(0, 4, std::string("PE\0\0", 4)) != 0) return false;
    const uint16_t sectionCount = U16(head, 6);
    const uint16_t optionalSize = U16(head, 20);
    std::string opt;
    if (optionalSize < 2 || !Read(pe + 24, optionalSize, opt)) return false;
    size_t countAt = 0;
    switch (U16(opt, 0)) {
      case 0x10B:
        countAt = 92;
        break;  // PE32
      case 0x20B:
        countAt = 108;
        break;  // PE32+
      default:
        return false;
    }
    const size_t resourceEntryAt = countAt + 4 + 2 * 8;
    if (opt.size() < resourceEntryAt + 8 || U32(opt, countAt) <= 2) return false;
    FResourceRva = U32(opt, resourceEntryAt);
    if (FResourceRva == 0) return false;
    std::string table;
    if (!Read(pe + 24 + optionalSize, size_t(sectionCount) * 40, table)) return false;
    for (size_t i = 0; i < sectionCount; ++i) {
      const size_t at = i * 40;
      FSections.push_back(
          {U32(table, at + 12), U32(table, at + 8), U32(table, at + 16), U32(table, at + 20)});
    }
    return true;
  }

  // Reads count bytes at the relative virtual address rva; they must lie in one section's
  // raw data.
  bool ReadRva(uint64_t rva, size_t count, std::string& out) const {
    for (const TSection& s : FSections) {
      const uint64_t span = std::max(s.VirtualSize, s.RawSize);
      if (rva < s.VirtualAddress || rva >= uint64_t(s.VirtualAddress) + span) continue;
      const uint64_t within = rva - s.VirtualAddress;
      if (within + count > s.RawSize) return false;
      return Read(uint64_t(s.RawOffset) + within, count, out);
    }
    return false;
  }

  uint32_t ResourceRva() const { return FResourceRva; }

 private:
  const TImageReader& FRead;
  std::vector<TSection> FSections;
  uint32_t FResourceRva{0};
};

struct TDirEntry {
  uint32_t Name{0};    // high bit set: a named entry
  uint32_t Offset{0};  // high bit set: a sub-directory
};

bool ReadDirectory(const TImage& image, uint32_t offset, std::vector<TDirEntry>& entries) {
  std::string head;
  if (!image.ReadRva(uint64_t(image.ResourceRva()) + offset, 16, head)) return false;
  const size_t count = size_t(U16(head, 12)) + U16(head, 14);
  std::string raw;
  if (!image.ReadRva(uint64_t(image.ResourceRva()) + offset + 16, count * 8, raw)) return false;
  entries.clear();
  for (size_t i = 0; i < count; ++i) entries.push_back({U32(raw, i * 8), U32(raw, i * 8 + 4)});
  return true;
}

bool IsDirectory(const TDirEntry& e) {
  return (e.Offset & 0x80000000u) != 0;
}
uint32_t Target(const TDirEntry& e) {
  return e.Offset & 0x7FFFFFFFu;
}

// The bytes of the version resource: the RT_VERSION type, then id 1 if present (else the first
// name), then the first language.
bool ReadVersionResource(const TImage& image, std::string& data) {
  std::vector<TDirEntry> entries;
  if (!ReadDirectory(image, 0, entries)) return false;
  std::optional<TDirEntry> type;
  for (const auto& e : entries)
    if (e.Name == kRtVersion && IsDirectory(e)) type = e;
  if (!type || !ReadDirectory(image, Target(*type), entries)) return false;
  std::optional<TDirEntry> name;
  for (const auto& e : entries) {
    if (!IsDirectory(e)) continue;
    if (!name || e.Name == kVsVersionInfoId) name = e;
    if (e.Name == kVsVersionInfoId) break;
  }
  if (!name || !ReadDirectory(image, Target(*name), entries)) return false;
  std::optional<TDirEntry> language;
  for (const auto& e : entries)
    if (!IsDirectory(e)) {
      language = e;
      break;
    }
  std::string dataEntry;
  if (!language || !image.ReadRva(uint64_t(image.ResourceRva()) + Target(*language), 16, dataEntry))
    return false;
  const uint32_t size = U32(dataEntry, 4);
  return image.ReadRva(U32(dataEntry, 0), std::min<size_t>(size, kMaxVersionResource), data);
}

// One block of the version resource tree, as positions in the resource's bytes.
struct TBlock {
  size_t End{0};
  uint16_t ValueLength{0};
  uint16_t Type{0};
  std::u16string Key;
  size_t ValueStart{0};
  size_t ChildrenStart{0};
};

bool ParseBlock(const std::string& b, size_t at, size_t limit, TBlock& block) {
  if (at + 6 > limit) return false;
  const uint16_t length = U16(b, at);
  if (length < 6) return false;
  block.End = std::min(limit, at + length);
  block.ValueLength = U16(b, at + 2);
  block.Type = U16(b, at + 4);
  block.Key.clear();
  size_t p = at + 6;
  for (;; p += 2) {
    if (p + 2 > block.End) return false;
    const char16_t c = U16(b, p);
    if (c == 0) break;
    block.Key += c;
  }
  block.ValueStart = std::min(block.End, Align4(p + 2));
  const size_t valueBytes = block.Type == 1 ? size_t(block.ValueLength) * 2 : block.ValueLength;
  block.ChildrenStart = std::min(block.End, Align4(block.ValueStart + valueBytes));
  return true;
}

std::vector<TBlock> Children(const std::string& b, const TBlock& parent) {
  std::vector<TBlock> children;
  size_t at = parent.ChildrenStart;
  TBlock child;
  while (ParseBlock(b, at, parent.End, child)) {
    children.push_back(child);
    at = Align4(at + U16(b, at));  // wLength >= 6, so this always advances
  }
  return children;
}

std::optional<TBlock> FindChild(const std::vector<TBlock>& blocks, const std::string& key) {
  for (const auto& block : blocks)
    if (SameText(Utf16ToUtf8(block.Key), key)) return block;
  return std::nullopt;
}

// "040904b0": the first language and code page of VarFileInfo\Translation.
std::optional<std::string> FirstTranslation(const std::string& b, const std::vector<TBlock>& top) {
  const auto var = FindChild(top, "VarFileInfo");
  if (!var) return std::nullopt;
  const auto translation = FindChild(Children(b, *var), "Translation");
  if (!translation || translation->ValueLength < 4 || translation->ValueStart + 4 > translation->End)
    return std::nullopt;
  static const char* kHex = "0123456789abcdef";
  std::string key;
  for (uint16_t part : {U16(b, translation->ValueStart), U16(b, translation->ValueStart + 2)})
    for (int shift = 12; shift >= 0; shift -= 4) key += kHex[(part >> shift) & 0xF];
  return key;
}

void ReadFileVersionText(const std::string& b, const std::vector<TBlock>& top, TPeVersionInfo& info) {
  const auto language = FirstTranslation(b, top);
  const auto stringInfo = FindChild(top, "StringFileInfo");
  if (!language || !stringInfo) return;
  const auto tables = Children(b, *stringInfo);
  // NOTE: a translation that names a table the resource lacks falls back to the first table,
  // which is what resource editors leave behind when they change the language of one half.
  auto table = FindChild(tables, *language);
  if (!table && !tables.empty()) table = tables.front();
  if (!table) return;
  const auto value = FindChild(Children(b, *table), "FileVersion");
  if (!value) return;
  // Writers disagree whether a String's wValueLength counts bytes or characters, so the text
  // runs to its terminating zero or the end of its block.
  std::u16string text;
  if (value->ValueLength != 0)
    for (size_t p = value->ValueStart; p + 2 <= value->End && U16(b, p) != 0; p += 2)
      text += char16_t(U16(b, p));
  info.HasFileVersionText = true;
  info.FileVersionText = Utf16ToUtf8(text);
}

void DecodeVersionResource(const std::string& b, TPeVersionInfo& info) {
  TBlock root;
  if (!ParseBlock(b, 0, b.size(), root) || !SameText(Utf16ToUtf8(root.Key), "VS_VERSION_INFO")) return;
  if (root.ValueLength >= 52 && root.ValueStart + 52 <= root.End &&
      U32(b, root.ValueStart) == kFixedSignature) {
    const uint32_t ms = U32(b, root.ValueStart + 8), ls = U32(b, root.ValueStart + 12);
    info.HasFixed = true;
    info.Major = uint16_t(ms >> 16);
    info.Minor = uint16_t(ms);
    info.Release = uint16_t(ls >> 16);
    info.Build = uint16_t(ls);
  }
  ReadFileVersionText(b, Children(b, root), info);
}

bool ReadFileInfo(const std::string& path, TPeVersionInfo& info) {
  try {
    TFileSystem& files = TPlatform::Current().Files();
    if (!files.FileExists(path)) return false;
    auto file = files.Open(path, TOpenMode::Read);
    if (!file) return false;
    TImageReader read = [&](uint64_t offset, size_t count, std::string& out) {
      out.resize(count);
      return count == 0 || file->ReadAt(int64_t(offset), out.data(), int64_t(count)) == int64_t(count);
    };
    return ReadPeVersionInfo(read, info);
  } catch (const std::exception&) {
    return false;  // e.g. an allocation for a table that a damaged header claims is huge
  }
}

std::string& BrowserVersionCache() {
  static std::string cache;
  return cache;
}

}  // namespace

bool ReadPeVersionInfo(const TImageReader& read, TPeVersionInfo& info) {
  info = TPeVersionInfo{};
  TImage image(read);
  std::string data;
  if (!image.LoadHeaders() || !ReadVersionResource(image, data)) return false;
  DecodeVersionResource(data, info);
  return info.HasFixed || info.HasFileVersionText;
}

bool ReadPeVersionInfo(const std::string& image, TPeVersionInfo& info) {
  TImageReader read = [&](uint64_t offset, size_t count, std::string& out) {
    if (offset > image.size() || count > image.size() - offset) return false;
    out.assign(image, size_t(offset), count);
    return true;
  };
  return ReadPeVersionInfo(read, info);
}

std::string GetFileVersionText(const std::string& path, const std::string& defaultValue) {
  TPeVersionInfo info;
  if (!ReadFileInfo(path, info) || !info.HasFileVersionText || info.FileVersionText.empty())
    return defaultValue;
  return info.FileVersionText;
}

std::string GetFileVersionNumbers(const std::string& path, const std::string& defaultValue) {
  TPeVersionInfo info;
  if (!ReadFileInfo(path, info) || !info.HasFixed) return defaultValue;
  return std::to_string(info.Major) + "." + std::to_string(info.Minor) + "." + std::to_string(info.Release) +
         "." + std::to_string(info.Build);
}

std::string GetBrowserFileVersion(const std::string& path, const std::string& defaultValue, bool useCache) {
  std::string& cache = BrowserVersionCache();
  if (useCache && !cache.empty()) return cache;
  const std::string file =
      path.empty() ? TPlatform::Current().Folders().Folder(TFolderKind::ExeFolder) + "QuenvoVPNBrowser.exe"
                   : path;
  std::string version = GetFileVersionText(file, defaultValue);
  if (useCache && !version.empty()) cache = version;
  return version;
}

void ResetBrowserFileVersionCache() {
  BrowserVersionCache().clear();
}
