#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Resources compiled into the binary (the language text, the window descriptions, the font).
// Each one is a named block of bytes; the build adds them with qvb_embed() in
// resources/CMakeLists.txt, and every embedded block registers itself before main() runs.
// Names compare without regard to ASCII letter case, as resource names do on the platform the
// installer comes from.

// The bytes of the resource, or an empty view when no resource has that name. The bytes stay
// valid for the life of the process and are followed by one NUL byte that the view excludes,
// so a text resource can be handed to C APIs directly.
std::string_view FindResource(std::string_view name);

// Every registered name, sorted case-insensitively (diagnostics and tests).
std::vector<std::string> ResourceNames();

// Registers a block under a name; a later registration of the same name replaces the earlier
// one. Used by the generated code of qvb_embed and by tests that need a resource of their own.
void RegisterResource(std::string_view name, const void* data, size_t size);

// A static instance of this registers a resource during static initialisation.
struct TResourceRegistration {
  TResourceRegistration(const char* name, const void* data, size_t size) {
    RegisterResource(name, data, size);
  }
};
