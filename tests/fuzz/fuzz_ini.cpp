// The INI readers on arbitrary bytes: the in-memory INI file (load, save, reload: the second save
// must equal the first) and the line-keeping INI service (a written value must read back).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/MemoryStream.h"
#include "support/IniService.h"
#include "support/SafeIniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  TSafeIniFile ini;
  TMemoryStream input(bytes);
  ini.LoadFromStream(input);
  for (const std::string& section : ini.ReadSections()) {
    for (const std::string& key : ini.ReadSection(section)) (void)ini.ReadInteger(section, key, 0);
    ini.WriteString(section, "fuzz", "1");
  }
  TMemoryStream first;
  ini.SaveToStream(first);
  TSafeIniFile again;
  again.LoadFromStream(first);
  TMemoryStream second;
  again.SaveToStream(second);
  if (first.Bytes() != second.Bytes()) std::abort();

  TIniService service;
  service.LoadFromBytes(bytes);
  (void)service.SectionNames();
  const std::string section = service.SectionNames().empty() ? "fuzz" : service.SectionNames().front();
  if (service.SetValue(section, "fuzz", "v\xC3\xA4") != 0) std::abort();
  TIniService reread;
  reread.LoadFromBytes(service.SavedBytes());
  if (reread.Value(section, "fuzz") != std::string("v\xC3\xA4")) std::abort();
  return 0;
}
