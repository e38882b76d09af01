#include "support/InstallerLog.h"

#include <fmt/format.h>

#include "platform/Platform.h"
#include "platform/TextCodec.h"
#include "support/AppFrame.h"

// The log grows by appending the new lines' bytes. Reading the whole file and writing it back
// would give the same bytes, but its cost grows with the file and a rewrite cut short loses the
// whole log; an append also keeps the lines of two processes that write at once.

namespace {

const std::string kCrLf16("\r\0\n\0", 4);

std::string TimeStamp() {
  const TLocalTime t = TPlatform::Current().Clock().LocalTime();
  return fmt::format("{:04d}-{:02d}-{:02d} {:02d}:{:02d}:{:02d} {:03d}", t.Year, t.Month, t.Day, t.Hour,
                     t.Minute, t.Second, t.Millisecond);
}

// Whether the file's last UTF-16 unit is LF; false for an empty file.
bool EndsWithLineEnd(TFileSystem& files, const std::string& path, int64_t size) {
  if (size < 4) return false;
  auto file = files.Open(path, TOpenMode::Read);
  if (!file) return false;
  std::string tail(4, '\0');
  return file->ReadAt(size - 4, tail.data(), 4) == 4 && tail == kCrLf16;
}

}  // namespace

std::string InstallerLogLines(const std::string& message) {
  if (message.empty()) return "\r\n";
  if (message == "=") return std::string(31, '=') + "\r\n";
  // CR LF, CR and LF each end one line, as they do when the file is read back line by line.
  std::string text = TimeStamp() + " ";
  for (size_t i = 0; i < message.size(); ++i) {
    const char c = message[i];
    if (c == '\r' || c == '\n') {
      text += "\r\n";
      if (c == '\r' && i + 1 < message.size() && message[i + 1] == '\n') ++i;
    } else {
      text += c;
    }
  }
  return text + "\r\n";
}

std::string InstallerLogFolder() {
  const std::string common = TAppFrame().CommonAppDataPath();
  if (common.empty()) return {};  // never a folder at the root of the current drive
  const char sep = TPlatform::Current().Files().Separator();
  return common + sep + "Kelvra" + sep + "QMRDownloader" + sep;
}

void WriteInstallerLog(const std::string& message, const std::string& fileName) {
  try {
    TFileSystem& files = TPlatform::Current().Files();
    const std::string folder = InstallerLogFolder();
    if (folder.empty()) return;
    if (!files.FolderExists(folder) && files.ForceFolders(folder) != 0) return;
    const std::string path = folder + fileName;
    // A read-only file refuses the append (the file systems enforce that even for root).
    const int64_t size = files.FileSize(path);
    std::string bytes;
    if (size <= 0)
      bytes = "\xFF\xFE";
    else if (size > 2 && !EndsWithLineEnd(files, path, size))
      bytes = kCrLf16;  // a last line without its line end gets one, as a rewrite would give it
    bytes += EncodeUtf16Le(InstallerLogLines(message), false);
    files.Append(path, bytes);
  } catch (...) {
    // The installer goes on without this line.
  }
}
