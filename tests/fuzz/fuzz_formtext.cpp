// The window-description reader on hostile text: parsing, reading into a form (classes, the
// property resolver, references) and writing back must never fault, and whatever the writer
// writes must parse again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "public/rdcontrol/FormReader.h"
#include "public/rdcontrol/FormWriter.h"
#include "public/rdcontrol/RdForm.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TFormObject description;
  try {
    description = ParseFormText(text);
  } catch (const TFormSyntaxError&) {
    return 0;
  }
  // A value on its own, as skin sections give them.
  try {
    ParseLiteralValue(text.substr(0, 256));
  } catch (const TFormSyntaxError&) {
  }
  TRdForm form;
  TFormReader::ReadRoot(form, description);
  std::string written = TFormWriter::Write(form);
  try {
    ParseFormText(written);
  } catch (const TFormSyntaxError&) {
    abort();  // the writer produced text its own reader refuses
  }
  return 0;
}
