#pragma once
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "platform/http/HttpClient.h"

// One HTTP client of the download engine with the bookkeeping of the byte range it fetches.
// The range is inclusive at both ends as sent in the request; the last range of a layout ends
// one past the resource's last byte, so the bytes the range owns in the target end at
// OwnedEnd() = min(EndOffset, ContentLength - 1). A range of unknown size is open: it owns
// everything from its start and its request has no end.
class TMyHttpCli {
public:
  TMyHttpCli(std::unique_ptr<THttpClient> http, int index) : FHttp(std::move(http)), FIndex(index) {}

  THttpClient& Http() { return *FHttp; }
  int Index() const { return FIndex; }

  int64_t StartOffset() const { return FStartOffset; }
  int64_t EndOffset() const { return FEndOffset; }
  int64_t DataCount() const { return FDataCount; }
  bool Done() const { return FDone; }
  bool OpenEnded() const { return FOwnedEnd == std::numeric_limits<int64_t>::max(); }
  int64_t OwnedEnd() const { return FOwnedEnd; }
  // Bytes of the target this range owns; the range is complete when DataCount reaches it.
  int64_t OwnedLength() const { return OpenEnded() ? std::numeric_limits<int64_t>::max() : FOwnedEnd - FStartOffset + 1; }
  bool Complete() const { return !OpenEnded() && FDataCount >= OwnedLength(); }
  int64_t NextOffset() const { return FStartOffset + FDataCount; }

  // contentLength <= 0: the size is unknown and the range open.
  void SetRange(int64_t start, int64_t end, int64_t contentLength);
  // Bytes taken from the answer but not yet written: libcurl hands over 16 KiB at a time, the
  // target gets them in large blocks. They count (DataCount) only once written.
  std::string& Pending() { return FPending; }
  int64_t Received() const { return FDataCount + int64_t(FPending.size()); }
  bool Full() const { return !OpenEnded() && Received() >= OwnedLength(); }
  void SetDataCount(int64_t count) { FDataCount = count; }
  void AddData(int64_t count) { FDataCount += count; }
  void SetDone(bool done) { FDone = done; }
  // The request continues where the range stopped: bytes=StartOffset+DataCount-EndOffset.
  void ApplyRangeRequest();

  // Per request: the resource offset of the next body byte and one past the answer's last
  // byte (from its head), and whether the engine ended the request because the range was full.
  int64_t BodyOffset() const { return FBodyOffset; }
  void SetBodyOffset(int64_t offset) { FBodyOffset = offset; }
  int64_t AnswerEnd() const { return FAnswerEnd; }
  void SetAnswerEnd(int64_t end) { FAnswerEnd = end; }
  bool EndedFull() const { return FEndedFull; }
  void SetEndedFull(bool full) { FEndedFull = full; }

  // A released client waits for its posted deletion; its events are ignored.
  bool Released() const { return FReleased; }
  void SetReleased() { FReleased = true; }

private:
  std::unique_ptr<THttpClient> FHttp;
  int FIndex{0};
  int64_t FStartOffset{0};
  int64_t FEndOffset{0};
  int64_t FOwnedEnd{0};
  int64_t FDataCount{0};
  bool FDone{false};
  int64_t FBodyOffset{0};
  int64_t FAnswerEnd{std::numeric_limits<int64_t>::max()};
  bool FEndedFull{false};
  bool FReleased{false};
  std::string FPending;
};
