#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Installer/Downloader/MultipartHttpDownloader.h"
#include "platform/EventLoop.h"
#include "platform/Platform.h"
#include "tools/qvbtool/Verb.h"

// qvbtool fetch URL FILE [--parts N] [--no-state] [--timeout S] [--ca-file PEM]
//
// One run of the download engine into FILE with the state file FILE.dat. Like the installer's
// package downloader it continues from the state file when both files exist and starts afresh
// (state deleted, FILE truncated) otherwise. Progress goes to standard error when that is a
// terminal; the last line on standard output is the completion status and its text. Exit code
// 0 only for status 200.

namespace {

bool ParseNumber(const std::string& text, long long& value) {
  char* end = nullptr;
  value = std::strtoll(text.c_str(), &end, 10);
  return !text.empty() && end && *end == 0;
}

void DrawProgress(const TMultipartHttpDownloader& engine) {
  const int width = 30;
  const double percent = std::min(100.0, std::max(0.0, engine.PercentDone()));
  const int filled = int(percent * width / 100.0);
  std::string bar(size_t(filled), '#');
  bar.resize(size_t(width), '.');
  // CurSpeed is in kilobits per second.
  const double megabytesPerSecond = engine.CurSpeed() * 1000.0 / 8.0 / 1e6;
  std::fprintf(stderr, "\r[%s] %5.1f%%  %8.2f MB/s  %lld/%lld bytes ", bar.c_str(), percent, megabytesPerSecond,
               static_cast<long long>(engine.TotalCount()), static_cast<long long>(engine.ContentLength()));
  std::fflush(stderr);
}

int RunFetch(const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  long long parts = 4, timeout = 30;
  bool noState = false;
  std::string caFile;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](long long& out) {
      return i + 1 < args.size() && ParseNumber(args[++i], out);
    };
    if (arg == "--parts") {
      if (!value(parts) || parts <= 0 || parts > 64) return UsageError("fetch: --parts expects a number from 1 to 64");
    } else if (arg == "--timeout") {
      if (!value(timeout) || timeout <= 0) return UsageError("fetch: --timeout expects seconds above 0");
    } else if (arg == "--no-state") {
      noState = true;
    } else if (arg == "--ca-file") {
      if (i + 1 >= args.size()) return UsageError("fetch: --ca-file expects a file");
      caFile = args[++i];
    } else if (arg.rfind("--", 0) == 0) {
      return UsageError("fetch: unknown option '" + arg + "'");
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) return UsageError("fetch: expected URL FILE");
  const std::string& url = positional[0];
  const std::string& file = positional[1];
  const std::string stateFile = file + ".dat";

  TFileSystem& files = TPlatform::Current().Files();
  std::unique_ptr<TFile> target;
  int error = 0;
  if (files.FileExists(stateFile) && files.FileExists(file)) {
    target = files.Open(file, TOpenMode::ReadWrite, &error);
  } else {
    if (files.FileExists(stateFile)) files.DeleteFile(stateFile);
    target = files.Open(file, TOpenMode::CreateAlways, &error);
  }
  if (!target) {
    std::cerr << "qvbtool: fetch: cannot open '" << file << "': " << std::strerror(error) << "\n";
    return 1;
  }

  TEventLoop& loop = TEventLoop::Main();
  TMultipartHttpDownloader engine(&loop);
  engine.SetURL(url);
  engine.SetPartCount(int32_t(parts));
  engine.SetTimeOut(uint32_t(timeout));
  engine.SetNoStateFile(noState);
  engine.SetStateFileName(stateFile);
  engine.SetFileStream(target.get());
  engine.SetCaFile(caFile);
  const bool terminal = isatty(2) != 0;
  if (terminal) engine.OnShowStats = [&] { DrawProgress(engine); };
  if (std::getenv("QVB_DEBUG")) engine.OnDisplay = [](const std::string& text, int) { DebugOut("fetch: " + text); };
  int status = -1;
  std::string text;
  bool timedOut = false;
  engine.OnTimeOut = [&] { timedOut = true; };
  engine.OnRequestDone = [&](int code, const std::string& reason) {
    status = code;
    text = reason;
    loop.Quit();
  };
  engine.Start();
  loop.Exec();
  if (terminal) std::fprintf(stderr, "\n");
  if (timedOut) std::cerr << "qvbtool: fetch: no data for " << timeout << " s\n";
  std::cout << status << " " << text << std::endl;
  return status == 200 ? 0 : 1;
}

TVerbRegistration reg{"fetch", "fetch URL FILE [--parts N] [--no-state] [--timeout S] [--ca-file PEM]", RunFetch};

}  // namespace
