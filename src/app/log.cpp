#include "app/log.h"

#include <cstdarg>
#include <cstdio>

namespace {

std::FILE* g_log = nullptr;

}  // namespace

void OpenLog(const std::string& path) {
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
  if (g_log == nullptr) return;
  std::fputs(buffer, g_log);
  std::fputc('\n', g_log);
  std::fflush(g_log);
}
