// The language text parser and its lookups against arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "support/ExtIniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TExtIniFile text;
  text.SetText(bytes);
  // Every section and key the text names must be found again, whatever the bytes were.
  for (const std::string& section : text.ReadSections()) {
    for (const std::string& key : text.ReadSection(section)) {
      if (!text.ValueExists(section, key)) __builtin_trap();
      text.ReadString(section, key, "");
    }
    text.ReadSectionValues(section);
  }
  text.WriteString("QVB_M", "M_Apply", "Apply");
  if (text.ReadString("qvb_m", "m_apply", "") != "Apply") __builtin_trap();
  text.DeleteKey("QVB_M", "M_Apply");
  text.EraseSection("QVB_M");
  if (text.SectionExists("QVB_M")) __builtin_trap();
  return 0;
}
