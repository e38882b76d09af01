#pragma once
#include <cstdint>
#include <string>
#include <vector>

class TSafeIniFile;

// The resume state file of the download engine, an INI file:
//   [GLOBAL]  DownloadConfigMD5, Url, ContentLength, DownloadedSize, PartCount
//   [PART_i]  StartOffset, EndOffset, DataCount, URL, Done (1/0)     for each range i
// Reading never fails: a missing or non-numeric value takes its default, a section whose index
// is not a number in 0..PartCount-1 (or repeats one) is skipped, and a byte count outside its
// range reads as 0. Whether the ranges read can be trusted is a separate question (Usable).
struct TDownloadPartState {
  int Index{0};
  int64_t StartOffset{0};
  int64_t EndOffset{0};
  int64_t DataCount{0};
  std::string URL;
  bool Done{false};
};

struct TDownloadState {
  std::string ConfigMD5;
  std::string Url;
  int64_t ContentLength{0};
  int64_t DownloadedSize{0};
  int PartCount{1};
  std::vector<TDownloadPartState> Parts;  // in index order

  static TDownloadState Read(const TSafeIniFile& ini);
  // Replaces the GLOBAL and every PART_ section of ini; other sections stay.
  void Write(TSafeIniFile& ini) const;

  // True when the parts cover the bytes 0..ContentLength-1 exactly once (a part may end one
  // past the last byte) and every count lies within its part: only then may a run continue
  // from them without writing a byte twice or leaving one out.
  bool Usable() const;

  // A non-negative decimal 64-bit count; def for anything else (blanks around it are allowed).
  static int64_t ParseCount(const std::string& text, int64_t def);
  // The bytes of the target a part owns: StartOffset up to min(EndOffset, ContentLength - 1);
  // 0 for an empty or reversed part.
  static int64_t OwnedLength(int64_t start, int64_t end, int64_t contentLength);
};
