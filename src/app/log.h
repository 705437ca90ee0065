#pragma once
// The program's one diagnostic channel: "log.txt" in the working directory, one
// flushed line per WriteLog call. Nothing is shown to the user.
#include <string>

// (Re)opens the log, truncating it: every start, and every controller, begins an
// empty file. A log that cannot be opened silently drops every later line.
void OpenLog(const std::string& path = "log.txt");
void CloseLog();

// printf-style; writes the formatted text and a line feed, then flushes. Text beyond
// the 1023 characters of the format buffer is cut off.
void WriteLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Size of the format buffer, terminating zero included.
constexpr int kLogBufferSize = 1024;
