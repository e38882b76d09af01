// The registry hive parser on arbitrary bytes. A hive that parses must survive its own file
// form: writing it and reading that back gives the same tree and the same bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string root = "HKEY_LOCAL_MACHINE";
  TRegKey hive;
  if (!TRegFile::FromBytes(bytes, root, hive)) return 0;

  // Writing through the tree as the store does: a new key and value beside what was read.
  TRegValue value;
  value.Type = TRegType::ExpandSz;
  value.Text = "%fuzz%\r\n\"\\";
  hive.AddSubKey("Fuzz")->SetValue("v", value);

  const std::string first = TRegFile::ToBytes(hive, root);
  TRegKey again;
  if (!TRegFile::FromBytes(first, root, again)) std::abort();
  if (!(again == hive)) std::abort();
  if (TRegFile::ToBytes(again, root) != first) std::abort();
  return 0;
}
