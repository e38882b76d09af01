#pragma once
#include <string>

// The installer's lasting trace: one UTF-16 LE file (byte-order mark, CR LF line ends) in
// <machine-wide application data>/Kelvra/QMRDownloader/, never truncated.

// Appends the line for message to fileName in the log folder: an empty message gives an
// empty line, "=" a separator of 31 '=', anything else "yyyy-mm-dd hh:mm:ss zzz message".
// A CR or LF inside the message starts a new line in the file. Never fails visibly: a log line
// that cannot be written is dropped.
void WriteInstallerLog(const std::string& message, const std::string& fileName);

// The log folder with a trailing separator; empty when the machine-wide application-data
// folder is unknown.
std::string InstallerLogFolder();

// The text that WriteInstallerLog adds for message, UTF-8, each line ended by CR LF.
std::string InstallerLogLines(const std::string& message);
