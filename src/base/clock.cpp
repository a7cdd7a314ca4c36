#include "base/clock.h"

namespace
{
const Clock kSystemClock;
const Clock *gClock = &kSystemClock;
} // namespace

const Clock &Clock::get()
{
    return *gClock;
}

void Clock::install(const Clock *clock)
{
    gClock = clock ? clock : &kSystemClock;
}
