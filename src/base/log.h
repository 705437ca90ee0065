#pragma once
// The program's one diagnostic channel: "log.txt" in the working directory, one
// flushed line per WriteLog call. Nothing is shown to the user.
#include <functional>
#include <string>

// (Re)opens the log, truncating it: every start, and every controller, begins an
// empty file. A log that cannot be opened silently drops every later line.
void OpenLog(const std::string& path = "log.txt");
void CloseLog();

// While held, OpenLog keeps a log that is already open, with its lines: the live
// player makes a new controller for every reload of its content and keeps one log.
void HoldLog(bool hold);
// Every line written is handed to the echo as well (none when empty): the live player
// mirrors the editing keys' lines and shows load errors on screen.
void SetLogEcho(std::function<void(const char* line)> echo);

// printf-style; writes the formatted text and a line feed, then flushes. Text beyond
// the 1023 characters of the format buffer is cut off.
void WriteLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Size of the format buffer, terminating zero included.
constexpr int kLogBufferSize = 1024;
