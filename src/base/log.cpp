#include "base/log.h"

#include <cstdarg>
#include <cstdio>

namespace {

std::FILE* g_log = nullptr;
bool g_hold = false;
std::function<void(const char*)> g_echo;

}  // namespace

void HoldLog(bool hold) { g_hold = hold; }

void SetLogEcho(std::function<void(const char* line)> echo) { g_echo = std::move(echo); }

void OpenLog(const std::string& path) {
  if (g_hold && g_log != nullptr) return;
  CloseLog();
  g_log = std::fopen(path.c_str(), "w");
}

void CloseLog() {
  if (g_log != nullptr) {
    std::fclose(g_log);
    g_log = nullptr;
  }
}

void WriteLog(const char* format, ...) {
  char buffer[kLogBufferSize];
  va_list args;
  va_start(args, format);
  // vsnprintf never writes past the buffer and always terminates it.
  const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (length < 0) buffer[0] = '\0';
  if (g_echo) g_echo(buffer);
  if (g_log == nullptr) return;
  std::fputs(buffer, g_log);
  std::fputc('\n', g_log);
  std::fflush(g_log);
}
