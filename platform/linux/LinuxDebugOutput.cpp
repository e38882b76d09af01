#include "platform/linux/LinuxDebugOutput.h"

#include <cstdlib>
#include <unistd.h>

void TLinuxDebugOutput::Write(const std::string& line) {
  if (!getenv("QVB_DEBUG")) return;
  // One write call per line, so that lines of several processes do not interleave.
  const std::string text = line + "\n";
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += size_t(n);
  }
}
