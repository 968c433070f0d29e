// Slows a program down where it waits for events: preloaded (LD_PRELOAD), it makes every
// poll() sleep POLL_DELAY_MS milliseconds first. A processing run pumps events after each
// row, so a run then lasts long enough to be watched, and timers and compositor events
// interleave with it as they would on a slow or loaded machine.

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dlfcn.h>
#include <poll.h>

namespace {

using PollFunction = int (*)(pollfd*, nfds_t, int);

timespec configuredDelay() {
    const char* text = std::getenv("POLL_DELAY_MS");
    const long milliseconds = text != nullptr ? std::strtol(text, nullptr, 10) : 0;
    if (milliseconds <= 0 || milliseconds > 10000)
        return {0, 0};
    return {milliseconds / 1000, milliseconds % 1000 * 1000000};
}

} // namespace

extern "C" int poll(pollfd* fds, nfds_t nfds, int timeout) {
    static const auto realPoll = reinterpret_cast<PollFunction>(dlsym(RTLD_NEXT, "poll"));
    static const timespec delay = configuredDelay();
    const int savedErrno = errno;
    nanosleep(&delay, nullptr);
    errno = savedErrno;
    return realPoll(fds, nfds, timeout);
}
