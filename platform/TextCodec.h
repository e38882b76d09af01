#pragma once
#include <string>
#include <vector>

// Text inside the program is UTF-8; files in UTF-16 are converted at the file boundary.
// Letter-case folding covers the Latin, Greek and Cyrillic letters of the Basic Multilingual
// Plane through the C library's wide-character tables in a UTF-8 locale.

std::u16string Utf8ToUtf16(const std::string& utf8);
std::string Utf16ToUtf8(const std::u16string& utf16);

// Bytes of a text file to UTF-8, choosing the encoding by byte-order mark: UTF-16 LE (FF FE),
// UTF-16 BE (FE FF), UTF-8 (EF BB BF); without a mark the system ANSI code page (Windows-1252).
// Invalid sequences become U+FFFD; never fails.
std::string DecodeText(const std::string& bytes);
// UTF-8 to UTF-16 LE bytes, with the FF FE mark first when withBom.
std::string EncodeUtf16Le(const std::string& utf8, bool withBom = true);

std::string UpperCase(const std::string& utf8);
std::string LowerCase(const std::string& utf8);
bool SameText(const std::string& a, const std::string& b);  // letter case ignored
bool StartsText(const std::string& prefix, const std::string& text);  // letter case ignored
bool ContainsText(const std::string& text, const std::string& part);  // letter case ignored

// Lines end at CR LF, CR or LF; a final line end does not start an empty line.
std::vector<std::string> SplitLines(const std::string& text);
// Removes leading and trailing blanks and control characters (everything up to ' ').
std::string Trim(const std::string& text);

// The encodings of text files, as their byte-order marks name them (Ansi: no mark, Windows-1252).
enum class TTextEncoding { Ansi, Utf8, Utf16Le, Utf16Be };
// The encoding a file's first bytes name, and the length of that mark (0 for Ansi).
TTextEncoding DetectEncoding(const std::string& bytes, size_t* markLength = nullptr);
std::string ByteOrderMark(TTextEncoding encoding);  // empty for Ansi
// UTF-8 to the bytes of encoding, without a mark. For Ansi a character that Windows-1252 lacks
// becomes '?' and clears *exact.
std::string EncodeText(const std::string& utf8, TTextEncoding encoding, bool* exact = nullptr);
