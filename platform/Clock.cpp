#include "platform/Clock.h"

#include <chrono>
#include <ctime>
#include <sys/time.h>

int64_t TSteadyClock::NowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TLocalTime TSteadyClock::LocalTime() const {
  timeval tv{};
  gettimeofday(&tv, nullptr);
  tm parts{};
  time_t secs = tv.tv_sec;
  localtime_r(&secs, &parts);
  return TLocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday, parts.tm_hour,
                    parts.tm_min,         parts.tm_sec,     int(tv.tv_usec / 1000)};
}
