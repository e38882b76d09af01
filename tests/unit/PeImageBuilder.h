#pragma once
// Builds a minimal PE image with one ".rsrc" section holding a version resource, for the
// version-resource tests and the fuzzer's seeds.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct TPeFixture {
  bool Pe32Plus{false};
  bool WithVersionResource{true};
  bool WithFixed{true};
  uint16_t Version[4]{5, 6, 7, 8};
  bool WithVarFileInfo{true};
  std::vector<std::pair<uint16_t, uint16_t>> Translations{{0x0409, 0x04B0}};
  // StringTable key ("040904b0") -> FileVersion text; an empty text leaves the value out.
  std::vector<std::pair<std::string, std::string>> StringTables{{"040904b0", "1.2.3.4"}};
};

namespace pe_builder {

inline void Put16(std::string& b, size_t at, uint16_t v) {
  b[at] = char(v & 0xFF);
  b[at + 1] = char(v >> 8);
}
inline void Put32(std::string& b, size_t at, uint32_t v) {
  Put16(b, at, uint16_t(v));
  Put16(b, at + 2, uint16_t(v >> 16));
}
inline void Add16(std::string& b, uint16_t v) {
  b.append(2, '\0');
  Put16(b, b.size() - 2, v);
}
inline void Add32(std::string& b, uint32_t v) {
  b.append(4, '\0');
  Put32(b, b.size() - 4, v);
}
inline void Pad4(std::string& b) {
  b.append((4 - b.size() % 4) % 4, '\0');
}
inline std::string Wide(const std::string& ascii) {
  std::string w;
  for (char c : ascii) Add16(w, uint16_t(uint8_t(c)));
  Add16(w, 0);
  return w;
}

// { wLength, wValueLength, wType, key, pad, value, pad, children }, padded to 4 at the end.
inline std::string Block(const std::string& key, uint16_t type, const std::string& value,
                         uint16_t valueLength, const std::string& children = {}) {
  std::string b(6, '\0');
  b += Wide(key);
  Pad4(b);
  b += value;
  if (!children.empty()) {
    Pad4(b);
    b += children;
  }
  Put16(b, 0, uint16_t(b.size()));
  Put16(b, 2, valueLength);
  Put16(b, 4, type);
  Pad4(b);
  return b;
}

inline std::string VersionBlob(const TPeFixture& f) {
  std::string fixed;
  if (f.WithFixed) {
    for (uint32_t v :
         {0xFEEF04BDu, 0x00010000u, uint32_t(f.Version[0]) << 16 | f.Version[1],
          uint32_t(f.Version[2]) << 16 | f.Version[3], 0x00010000u, 0u, 0x3Fu, 0u, 0x40004u, 1u, 0u, 0u, 0u})
      Add32(fixed, v);
  }
  std::string tables;
  for (const auto& [key, text] : f.StringTables) {
    std::string strings = Block("CompanyName", 1, Wide("Kelvra"), 7);
    if (!text.empty()) strings += Block("FileVersion", 1, Wide(text), uint16_t(text.size() + 1));
    tables += Block(key, 1, {}, 0, strings);
  }
  std::string children = Block("StringFileInfo", 1, {}, 0, tables);
  if (f.WithVarFileInfo) {
    std::string list;
    for (const auto& [language, codePage] : f.Translations) Add32(list, uint32_t(codePage) << 16 | language);
    children += Block("VarFileInfo", 1, {}, 0, Block("Translation", 0, list, uint16_t(list.size())));
  }
  return Block("VS_VERSION_INFO", 0, fixed, uint16_t(fixed.size()), children);
}

}  // namespace pe_builder

inline std::string BuildPeImage(const TPeFixture& f) {
  using namespace pe_builder;
  constexpr uint32_t kSectionRva = 0x1000, kSectionOffset = 0x200;
  // Resource section: three directory levels (type 16, name 1, language 0x409), the data entry,
  // the version blob.
  std::string rsrc;
  auto directory = [&](uint32_t name, uint32_t target) {
    for (uint32_t v : {0u, 0u, 0u}) Add32(rsrc, v);
    Add16(rsrc, 0);
    Add16(rsrc, 1);
    Add32(rsrc, name);
    Add32(rsrc, target);
  };
  const std::string blob = f.WithVersionResource ? VersionBlob(f) : std::string{};
  directory(f.WithVersionResource ? 16 : 14, 0x80000000u | 0x18);
  directory(1, 0x80000000u | 0x30);
  directory(0x409, 0x48);
  Add32(rsrc, kSectionRva + 0x58);
  Add32(rsrc, uint32_t(blob.size()));
  Add32(rsrc, 0);
  Add32(rsrc, 0);
  rsrc += blob;
  const uint32_t rsrcSize = uint32_t(rsrc.size());
  rsrc.append((0x200 - rsrc.size() % 0x200) % 0x200, '\0');

  std::string image(kSectionOffset, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  Put32(image, 0x3C, 0x40);
  const size_t pe = 0x40;
  image.replace(pe, 4, std::string("PE\0\0", 4));
  const uint16_t optionalSize = f.Pe32Plus ? 240 : 224;
  Put16(image, pe + 4, f.Pe32Plus ? 0x8664 : 0x14C);
  Put16(image, pe + 6, 1);
  Put16(image, pe + 20, optionalSize);
  Put16(image, pe + 22, 0x0102);
  const size_t opt = pe + 24;
  Put16(image, opt, f.Pe32Plus ? 0x20B : 0x10B);
  const size_t countAt = opt + (f.Pe32Plus ? 108 : 92);
  Put32(image, countAt, 16);
  Put32(image, countAt + 4 + 2 * 8, kSectionRva);
  Put32(image, countAt + 4 + 2 * 8 + 4, rsrcSize);
  const size_t section = opt + optionalSize;
  image.replace(section, 5, ".rsrc");
  Put32(image, section + 8, rsrcSize);
  Put32(image, section + 12, kSectionRva);
  Put32(image, section + 16, uint32_t(rsrc.size()));
  Put32(image, section + 20, kSectionOffset);
  return image + rsrc;
}
