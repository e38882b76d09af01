#include "Installer/Downloader/MultipartHttpDownloader.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <stdexcept>

#include "Installer/Downloader/DownloadState.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/TextCodec.h"
#include "support/IniService.h"
#include "support/SafeIniFile.h"

// Sections: clients; Start and the probe; the start of the ranges; document data and the end
// of a range; completion; the timer and the watchdog; Abort, Pause, Resume; the state file.

namespace {
const char* const kAborted = "Transfert aborted";
const char* const kPaused = "Transfert paused";
const char* const kFailed = "Download failed";

// "bytes a-b/total": a and b; false when the value has another form.
bool ParseContentRange(const std::string& value, int64_t& first, int64_t& last) {
  long long a = 0, b = 0;
  if (std::sscanf(value.c_str(), "bytes %lld-%lld", &a, &b) != 2 || a < 0 || b < a) return false;
  first = a;
  last = b;
  return true;
}
}  // namespace

TMultipartHttpDownloader::TMultipartHttpDownloader(TEventLoop* loop) : FLoop(loop ? loop : &TEventLoop::Main()) {
  FFactory = [this] { return NewHttpClient(FLoop); };
}

TMultipartHttpDownloader::~TMultipartHttpDownloader() {
  *FAlive = false;
  StopTimer();
  // The owner releases the engine from outside its events, so the clients can go at once.
  for (auto& client : FClients) client->SetReleased();
  FClients.clear();
}

void TMultipartHttpDownloader::SetStateFileName(const std::string& name) {
  FStateFileName = name.empty() ? name : TIniService::LocalPath(name);
}

void TMultipartHttpDownloader::Display(const std::string& text, int code) {
  if (OnDisplay) OnDisplay(text, code);
}

void TMultipartHttpDownloader::ShowStats() {
  if (OnShowStats) OnShowStats();
}

// ---- clients ----

std::unique_ptr<TMyHttpCli> TMultipartHttpDownloader::NewClient(int index, const std::string& url) {
  auto client = std::make_unique<TMyHttpCli>(FFactory(), index);
  THttpSettings& s = client->Http().Settings();
  s = FConfig;
  s.URL = url.empty() ? FConfig.URL : url;
  TMyHttpCli* raw = client.get();
  client->Http().OnBgException = [this, raw](THttpClient&, const std::string& what) {
    if (!raw->Released()) Display("client " + std::to_string(raw->Index()) + ": " + what);
  };
  return client;
}

void TMultipartHttpDownloader::AttachRangeEvents(TMyHttpCli& client) {
  TMyHttpCli* raw = &client;
  THttpClient& http = client.Http();
  http.OnHeaderEnd = [this, raw](THttpClient&) {
    if (!raw->Released()) RangeHeaders(*raw);
  };
  http.OnDocumentData = [this, raw](THttpClient&, const char* data, size_t size) {
    if (!raw->Released()) DocumentData(*raw, data, int64_t(size));
  };
  http.OnLocationChange = [this, raw](THttpClient& c) {
    // libcurl keeps the byte range of the request across the redirect.
    if (!raw->Released()) Display("range " + std::to_string(raw->Index()) + " moved to " + c.Response().Location);
  };
  http.OnRequestDone = [this, raw](THttpClient&, int error) {
    if (!raw->Released()) RangeDone(*raw, error);
  };
}

void TMultipartHttpDownloader::ReleaseClients() {
  // A client may be released from inside its own event (Resume from an OnRequestDone handler):
  // it is marked, stopped, and deleted from the loop once that event has returned.
  for (auto& client : FClients) {
    client->SetReleased();
    client->Http().Abort();
    FLoop->DeleteLater(std::move(client));
  }
  FClients.clear();
}

// ---- Start and the probe ----

void TMultipartHttpDownloader::Start() {
  if (FPartCount <= 0) throw std::runtime_error("PartCount must be positive");
  FAbortFlag = FPauseFlag = false;
  FContentLength = 0;
  FTotalCount = FPrevTotalCount = 0;
  FCurSpeed = FPercentDone = 0;
  FElapsedMs = 0;
  FFailStatus = 0;
  FFailText.clear();
  FReported = false;
  FSizeKnown = true;
  FProbeAccepted = false;
  FLastTick = FStartTime = FLoop->NowMs();
  ShowStats();

  // NOTE: libcurl sets up TLS for every https connection itself, redirects included, so no TLS
  // context has to be made for an "HTTPS://" URL or a switch to HTTPS.
  ReleaseClients();
  ++FRun;
  FProbing = true;
  FClients.push_back(NewClient(0, FConfig.URL));
  TMyHttpCli* probe = FClients.back().get();
  THttpClient& http = probe->Http();
  http.OnHeaderEnd = [this, probe](THttpClient&) {
    if (!probe->Released()) ProbeHeaders(*probe);
  };
  http.OnRequestDone = [this, probe](THttpClient&, int error) {
    if (!probe->Released()) ProbeDone(*probe, error);
  };
  if (!FBeforeHeadersStr.empty())
    http.OnBeforeHeaderSend = [this](THttpClient&, std::vector<std::string>& headers) {
      for (const auto& line : SplitLines(FBeforeHeadersStr))
        if (!Trim(line).empty()) headers.push_back(line);
    };
  http.Get();
  FBeginTime = FLoop->NowMs();
  StartTimer();  // the watchdog also covers a server that never answers
}

void TMultipartHttpDownloader::ProbeHeaders(TMyHttpCli& probe) {
  THttpClient& http = probe.Http();
  const THttpResponse& head = http.Response();
  StopTimer();
  if (!SameText(head.Location, FConfig.URL)) FConfig.URL = head.Location;  // redirected (maybe to HTTPS)
  if (head.StatusCode == 407) {
    // The client asks again with Basic credentials; keep the watchdog on for that round.
    FConfig.ProxyAuth = httpAuthBasic;
    http.Settings().ProxyAuth = httpAuthBasic;
    StartTimer();
  }
  if (head.StatusCode != 200) return;  // the probe runs to its end and reports it
  if (!SameText(Trim(head.AcceptRanges), "bytes")) FPartCount = 1;
  if (head.ContentLength < 0) {
    FContentLength = FDefaultContentLength;
    FPartCount = 1;
    FSizeKnown = false;
  } else {
    FContentLength = head.ContentLength;
    if (FContentLength < 1024) FPartCount = 1;
  }
  FProbeAccepted = true;
  ShowStats();
  http.Abort();  // its body is not read
}

void TMultipartHttpDownloader::ProbeDone(TMyHttpCli& probe, int error) {
  StopTimer();
  probe.SetDone(true);
  if (FAbortFlag) return Completion(503, kAborted);
  if (FPauseFlag) return Completion(204, kPaused);
  const THttpResponse& head = probe.Http().Response();
  if (FProbeAccepted && (FContentLength > 0 || !FSizeKnown)) {
    // The private message that starts the ranges once this event has returned.
    const uint64_t run = FRun;
    std::weak_ptr<bool> alive = FAlive;
    FLoop->Post([this, alive, run] {
      if (!alive.expired() && run == FRun && FProbing) StartMulti();
    });
    return;
  }
  if (error != httperrNone && !(FProbeAccepted && error == httperrAborted)) return ReportOnce(error, kFailed);
  if (head.StatusCode != 200) return ReportOnce(head.StatusCode, head.ReasonPhrase);
  // 200 with an announced size of 0: the resource is empty, and so is the target.
  if (FFileStream && !FFileStream->SetSize(0)) return ReportOnce(StatusWrongSize, kFailed);
  ReportOnce(200, "OK");
}

// ---- the start of the ranges ----

void TMultipartHttpDownloader::StartMulti() {
  // Stopped between the probe's end and this message: the probe is the run's last client.
  if (FAbortFlag) return Completion(503, kAborted);
  if (FPauseFlag) return Completion(204, kPaused);
  FProbing = false;
  try {
    bool haveState = StateFileExists();
    if (haveState && FContentLength > 0) {
      TSafeIniFile ini;
      ini.LoadFromFile(FStateFileName);
      if (ini.ReadString("GLOBAL", "ContentLength", "") != std::to_string(FContentLength)) {
        // A state of another resource (or another version of it): start over.
        DeleteStateFile();
        if (FFileStream) FFileStream->SetSize(0);
        haveState = false;
      }
    }
    if (haveState && !FSizeKnown) {
      DeleteStateFile();  // a run of unknown size cannot continue from counts
      haveState = false;
    }

    // partSize = ContentLength div PartCount; range i starts at i * (partSize + 1) and holds
    // partSize + 1 bytes, the last one ends at ContentLength (one past the last byte).
    std::vector<std::unique_ptr<TMyHttpCli>> clients;
    if (!FSizeKnown) {
      clients.push_back(NewClient(0, FConfig.URL));
      clients.back()->SetRange(0, FContentLength, 0);
    } else {
      int parts = FPartCount;
      // More parts than the size allows would place ranges past the end of the resource.
      while (parts > 1 && int64_t(parts - 1) * (FContentLength / parts + 1) > FContentLength - 1) --parts;
      FPartCount = parts;
      const int64_t partSize = FContentLength / parts;
      for (int i = 0; i < parts; ++i) {
        const int64_t start = i * (partSize + 1);
        const int64_t end = i == parts - 1 ? FContentLength : start + partSize;
        clients.push_back(NewClient(i, FConfig.URL));
        clients.back()->SetRange(start, end, FContentLength);
      }
    }
    ReleaseClients();  // the probe
    FClients = std::move(clients);

    TDownloadState state;
    if (haveState && FSizeKnown) ReadStateFile(state);
    FTotalCount = 0;
    for (auto& client : FClients) {
      AttachRangeEvents(*client);
      // A stored count is used only for the very range it was counted in: a state written
      // with another layout says nothing about the bytes of this one.
      client->SetDataCount(0);
      for (const auto& part : state.Parts)
        if (part.Index == client->Index() && part.StartOffset == client->StartOffset() &&
            part.EndOffset == client->EndOffset())
          client->SetDataCount(part.DataCount);
      ClampToTarget(*client);
      client->SetDone(client->Complete());
      client->ApplyRangeRequest();
      FTotalCount += client->DataCount();
    }
    FPrevTotalCount = FTotalCount;

    if (std::all_of(FClients.begin(), FClients.end(), [](const auto& c) { return c->Done(); }))
      return Completion(200, "Check the last time download finished");
    for (auto& client : FClients)
      if (!client->Done()) client->Http().Get();
    FBeginTime = FLoop->NowMs();
    StartTimer();
  } catch (const std::exception& e) {
    Display(std::string("start of the ranges: ") + e.what(), httperrException);
    StopTimer();
    ReleaseClients();
    ReportOnce(httperrException, kFailed);
  }
}

void TMultipartHttpDownloader::ClampToTarget(TMyHttpCli& client) {
  // Bytes claimed past the end of the target cannot have been written (the file was cut
  // behind the engine's back): only what the file still holds counts.
  if (!FFileStream) return;
  const int64_t size = FFileStream->Size();
  if (size >= 0 && client.NextOffset() > size) client.SetDataCount(std::max<int64_t>(0, size - client.StartOffset()));
}

// ---- document data and the end of a range ----

void TMultipartHttpDownloader::RangeHeaders(TMyHttpCli& client) {
  const THttpResponse& head = client.Http().Response();
  client.SetEndedFull(false);
  client.SetBodyOffset(client.NextOffset());
  client.SetAnswerEnd(INT64_MAX);
  if (FAbortFlag || FPauseFlag) return;
  if (head.StatusCode == 206) {
    int64_t first = 0, last = 0;
    if (ParseContentRange(head.ContentRange, first, last)) {
      client.SetBodyOffset(first);
      client.SetAnswerEnd(last + 1);
    }
  } else if (head.StatusCode == 200) {
    // The whole resource from its first byte: the server ignored the range.
    client.SetBodyOffset(0);
    if (head.ContentLength >= 0) client.SetAnswerEnd(head.ContentLength);
  } else if (head.StatusCode == 416) {
    FailRun(416, head.ReasonPhrase);
  }
}

void TMultipartHttpDownloader::DocumentData(TMyHttpCli& client, const char* data, int64_t size) {
  if (size <= 0 || FPauseFlag || FAbortFlag || FFailStatus) return;
  // The body of an error answer is not the resource.
  const int status = client.Http().Response().StatusCode;
  if (status != 200 && status != 206) return;
  if (!FFileStream) {
    Display("no target stream: " + std::to_string(size) + " bytes dropped");
    return;
  }
  const int64_t offset = client.BodyOffset();  // where this block lies in the resource
  client.SetBodyOffset(offset + size);
  const int64_t next = client.StartOffset() + client.Received();
  const int64_t skip = next - offset;
  if (skip < 0) {
    // The answer starts past the range's next byte: taking it would leave a hole.
    Display("range " + std::to_string(client.Index()) + ": answer starts at " + std::to_string(offset) +
            ", expected " + std::to_string(next));
    client.Http().Abort();
    return;
  }
  if (skip >= size) return;  // still before the range's next byte
  const int64_t room = client.OpenEnded() ? size - skip : client.OwnedEnd() - next + 1;
  const int64_t take = std::min(size - skip, room);
  if (take > 0) {
    client.Pending().append(data + skip, size_t(take));
    if ((int64_t(client.Pending().size()) >= kWriteBlock || client.Full()) && !Flush(client)) {
      client.Http().Abort();
      return;
    }
  }
  // A range that is full ends its request when the answer has more to send (a body longer
  // than the range, or the whole resource).
  if (client.Full() && (take < size - skip || client.AnswerEnd() > client.OwnedEnd() + 1)) {
    client.SetEndedFull(true);
    client.Http().Abort();
  }
}

bool TMultipartHttpDownloader::Flush(TMyHttpCli& client) {
  std::string& pending = client.Pending();
  if (pending.empty()) return true;
  const int64_t count = int64_t(pending.size());
  const bool written = FFileStream && FFileStream->WriteAt(client.NextOffset(), pending.data(), count) == count;
  pending.clear();
  if (!written) {
    Display("range " + std::to_string(client.Index()) + ": write failed", FFileStream ? FFileStream->LastError() : 0);
    return false;
  }
  client.AddData(count);  // counted only now that the write has returned
  FTotalCount += count;
  return true;
}

void TMultipartHttpDownloader::FlushAll() {
  for (auto& client : FClients)
    if (!Flush(*client)) client->Http().Abort();
}

void TMultipartHttpDownloader::RangeDone(TMyHttpCli& client, int error) {
  const int status = client.Http().Response().StatusCode;
  if (client.EndedFull() && error == httperrAborted) error = httperrNone;
  if (!Flush(client)) {
    client.SetEndedFull(false);
    if (error == httperrNone) error = httperrAborted;  // the bytes were not written: fetch them again
  }
  bool done = client.Complete() || FAbortFlag || FPauseFlag || FFailStatus != 0;
  if (error == httperrNone && client.OpenEnded() && (status == 200 || status == 206)) done = true;
  client.SetDone(done);
  if (FAbortFlag) return Completion(503, kAborted);
  if (FPauseFlag) return Completion(204, kPaused);
  if (FFailStatus) return Completion(FFailStatus, FFailText);
  if (error != httperrNone) return RestartRange(&client);
  // An answer that ended without an error before the range was full is continued too.
  if ((status == 200 || status == 206) && done) return Completion(200, "OK");
  RestartRange(&client);
}

void TMultipartHttpDownloader::RestartRange(TMyHttpCli* client) {
  // 200 ms in four pumped sleeps: other clients' events, the timer, and the owner's calls
  // (Abort, Pause, even the release of this engine) may run meanwhile.
  std::weak_ptr<bool> alive = FAlive;
  for (int i = 0; i < 4; ++i) {
    FLoop->PumpFor(50);
    if (alive.expired() || client->Released()) return;
    if (FAbortFlag || FPauseFlag || FFailStatus) {
      // Stopped while this range was not running: it will send no end of its own.
      client->SetDone(true);
      if (FAbortFlag) return Completion(503, kAborted);
      if (FPauseFlag) return Completion(204, kPaused);
      return Completion(FFailStatus, FFailText);
    }
  }
  THttpSettings& s = client->Http().Settings();
  const std::string url = s.URL;
  s = FConfig;
  s.URL = url;
  client->ApplyRangeRequest();
  client->SetDone(false);
  client->Http().Get();
}

void TMultipartHttpDownloader::FailRun(int status, const std::string& text) {
  // The server refuses a range it announced: the stored state cannot be continued, and the
  // other ranges are stopped so that the run reports once.
  if (FFailStatus) return;
  FFailStatus = status;
  FFailText = text;
  StopTimer();
  Display("range refused with " + std::to_string(status) + ": the run ends", status);
  DeleteStateFile();
  for (auto& client : FClients) client->Http().Abort();
}

// ---- completion ----

void TMultipartHttpDownloader::Completion(int status, const std::string& text) {
  if (!std::all_of(FClients.begin(), FClients.end(), [](const auto& c) { return c->Done(); })) return;
  if (FReported) return;
  StopTimer();
  Tick(true);
  if (status == 200 && !TargetHasRightSize()) {
    Display("every range is complete but the target has not " + std::to_string(FContentLength) + " bytes");
    DeleteStateFile();
    return ReportOnce(StatusWrongSize, kFailed);
  }
  if (FPauseFlag) SaveState();
  ReportOnce(status, text);
}

void TMultipartHttpDownloader::ReportOnce(int status, const std::string& text) {
  if (FReported) return;
  FReported = true;
  if (OnRequestDone) OnRequestDone(status, text);
}

bool TMultipartHttpDownloader::TargetHasRightSize() {
  if (!FSizeKnown) {
    // The answer's end was the resource's end: whatever lies past it is older content.
    if (FFileStream && !FClients.empty() && FFileStream->Size() > FClients[0]->DataCount())
      return FFileStream->SetSize(FClients[0]->DataCount());
    return true;
  }
  if (FContentLength <= 0) return true;
  int64_t owned = 0;
  for (const auto& client : FClients) {
    if (!client->Complete()) return false;
    owned += client->OwnedLength();
  }
  if (owned != FContentLength) return false;
  if (!FFileStream) return true;
  const int64_t size = FFileStream->Size();
  // Bytes past the end are left from an older, longer file: cut them off.
  if (size > FContentLength) return FFileStream->SetSize(FContentLength);
  return size == FContentLength;
}

// ---- the timer and the watchdog ----

void TMultipartHttpDownloader::StartTimer() {
  StopTimer();
  FTimer = FLoop->SingleShot(500, [this] {
    FTimer = 0;
    Tick(false);
  });
}

void TMultipartHttpDownloader::StopTimer() {
  if (FTimer) FLoop->KillTimer(FTimer);
  FTimer = 0;
}

// The last tick of a run (from completion) updates the statistics only: the run has ended, so
// there is nothing left for the watchdog to stop.
void TMultipartHttpDownloader::Tick(bool last) {
  StopTimer();
  FlushAll();
  const bool allDone = std::all_of(FClients.begin(), FClients.end(), [](const auto& c) { return c->Done(); });
  const int64_t now = FLoop->NowMs();
  FCurSpeed = now != FLastTick ? double(FTotalCount - FPrevTotalCount) * 8.0 / double(now - FLastTick) : 0.0;
  FElapsedMs = now - FStartTime;
  FPercentDone = FContentLength != 0 ? double(FTotalCount) * 100.0 / double(FContentLength) : 0.0;
  ShowStats();
  FLastTick = now;
  if (FTotalCount != FPrevTotalCount) {
    FBeginTime = now;
    // Saved at every tick with progress, so a killed process resumes from what it had. The
    // target is not synced here: that would tie the download to the disk's write speed (three
    // times slower on loopback); a byte is claimed once its write has returned.
    if (!FProbing && !FAbortFlag && !FFailStatus) SaveState(false);
  } else if (!last && now - FBeginTime > int64_t(FTimeOut) * 1000) {
    if (!OnTimeOut) {
      Display("no data for " + std::to_string(FTimeOut) + " s");
      return;
    }
    if (!FAbortFlag && !FPauseFlag) {
      std::weak_ptr<bool> alive = FAlive;
      Abort();
      if (!alive.expired() && OnTimeOut) OnTimeOut();
    }
    return;
  }
  FPrevTotalCount = FTotalCount;
  if (allDone) {
    FCurSpeed = FElapsedMs > 0 ? double(FTotalCount) * 8.0 / double(FElapsedMs) : 0.0;
    ShowStats();
  } else if (!last) {
    StartTimer();
  }
}

// ---- Abort, Pause, Resume ----

void TMultipartHttpDownloader::Abort() {
  FlushAll();
  FAbortFlag = true;
  StopTimer();
  bool save = true;
  try {
    for (auto& client : FClients) client->Http().Abort();
  } catch (const std::exception& e) {
    Display(std::string("abort: ") + e.what());
    save = false;
  }
  int64_t sum = 0;
  for (const auto& client : FClients) sum += client->DataCount();
  if (!FProbing && sum != FTotalCount)
    Display("byte counts of the ranges (" + std::to_string(sum) + ") differ from the total (" +
            std::to_string(FTotalCount) + ")");
  if (FContentLength > 0 && save) {
    if (FTotalCount <= FContentLength)
      SaveState();
    else
      Display("more bytes than the resource has: state not saved");
  }
}

void TMultipartHttpDownloader::Pause() {
  if (FStateFileName.empty()) throw std::runtime_error("TMultipartHttpDownloader.Pause: No file name specified");
  FlushAll();
  FPauseFlag = true;
  StopTimer();
  for (auto& client : FClients) client->Http().Abort();
}

void TMultipartHttpDownloader::Resume() {
  if (FStateFileName.empty()) throw std::runtime_error("TMultipartHttpDownloader.Resume: No file name specified");
  FAbortFlag = FPauseFlag = false;
  ReleaseClients();
  FTotalCount = 0;
  FFailStatus = 0;
  FReported = false;
  TDownloadState state;
  if (!ReadStateFile(state) || !state.Usable()) {
    // Nothing that can be continued without leaving holes or writing a byte twice: the run
    // starts over from the probe instead.
    Display("state file cannot be continued: starting over");
    return Start();
  }
  FContentLength = state.ContentLength;
  FConfig.URL = state.Url;
  FPartCount = state.PartCount;
  FConfigMD5 = state.ConfigMD5;
  FSizeKnown = true;
  FProbing = false;
  ++FRun;
  for (const auto& part : state.Parts) {
    FClients.push_back(NewClient(part.Index, part.URL));
    TMyHttpCli& client = *FClients.back();
    client.SetRange(part.StartOffset, part.EndOffset, FContentLength);
    client.SetDataCount(part.DataCount);
    ClampToTarget(client);
    client.SetDone(client.Complete());
    AttachRangeEvents(client);
    client.ApplyRangeRequest();
    FTotalCount += client.DataCount();
  }
  FPrevTotalCount = FTotalCount;
  FLastTick = FStartTime = FLoop->NowMs();
  FCurSpeed = 0;
  for (auto& client : FClients)
    if (!client->Done()) client->Http().Get();
  FBeginTime = FLoop->NowMs();
  Completion(0, "OK");  // reports only when every range was done already
  if (!FReported) StartTimer();
}

// ---- the state file ----

bool TMultipartHttpDownloader::StateFileExists() const {
  return !FStateFileName.empty() && TPlatform::Current().Files().FileExists(FStateFileName);
}

bool TMultipartHttpDownloader::ReadStateFile(TDownloadState& state) const {
  if (!StateFileExists()) return false;
  TSafeIniFile ini;
  ini.LoadFromFile(FStateFileName);
  if (ini.LastError() != 0) return false;
  state = TDownloadState::Read(ini);
  return true;
}

void TMultipartHttpDownloader::SaveState(bool syncTarget) {
  if (FNoStateFile || FStateFileName.empty()) return;
  // Only a layout of known size can be continued; the probe alone has none.
  if (FProbing || !FSizeKnown || FContentLength <= 0 || FClients.empty()) return;
  // When the run stops, the bytes reach the disk before the claim does.
  if (syncTarget && FFileStream && !FFileStream->Sync()) {
    Display("target could not be synced: state not saved", FFileStream->LastError());
    return;
  }
  TDownloadState state;
  state.ConfigMD5 = FConfigMD5;
  state.Url = FConfig.URL;
  state.ContentLength = FContentLength;
  state.DownloadedSize = FTotalCount;
  state.PartCount = int(FClients.size());
  for (auto& client : FClients) {
    TDownloadPartState part;
    part.Index = client->Index();
    part.StartOffset = client->StartOffset();
    part.EndOffset = client->EndOffset();
    if (client->DataCount() > client->OwnedLength()) {
      Display("range " + std::to_string(part.Index) + " counts more bytes than it holds: stored as 0");
      client->SetDataCount(0);
    }
    part.DataCount = client->DataCount();
    part.URL = client->Http().Settings().URL;
    part.Done = client->Complete();
    state.Parts.push_back(part);
  }
  try {
    TSafeIniFile ini;
    ini.LoadFromFile(FStateFileName);
    state.Write(ini);
    ini.SaveToFile(FStateFileName);
    if (ini.LastError() != 0) throw std::runtime_error("error " + std::to_string(ini.LastError()));
  } catch (const std::exception& e) {
    // A state that could not be written whole is not left behind to be resumed.
    Display(std::string("state file not written (") + e.what() + "): deleted");
    DeleteStateFile();
  }
}

void TMultipartHttpDownloader::DeleteStateFile() {
  if (StateFileExists()) TPlatform::Current().Files().DeleteFile(FStateFileName);
}
