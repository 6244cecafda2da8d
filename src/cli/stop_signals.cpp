#include "cli/stop_signals.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace penmoji::cli {
namespace {

// Written by the handlers, read by every rendering thread: it must be lock-free to be safe in
// a handler.
std::atomic<int> receivedSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void noteSignal(int signal) {
    int none = 0;
    receivedSignal.compare_exchange_strong(none, signal);
}

void catchOnce(int signal) {
    // A signal ignored from the start (a background job of a shell, nohup) stays ignored.
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESETHAND: a second signal meets the default action and ends the program, should the
    // first not be answered (a write that blocks, say). SA_RESTART: a write the signal
    // interrupts goes on, so the rendering sees the note and ends by its own way.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(signal, &action, nullptr);
}

}  // namespace

void StopSignals::install(unsigned maxSeconds) {
    catchOnce(SIGINT);
    catchOnce(SIGTERM);
    if (maxSeconds != 0) {
        catchOnce(SIGALRM);
        alarm(maxSeconds);
    }
}

int StopSignals::received() {
    return receivedSignal.load(std::memory_order_relaxed);
}

void StopSignals::endBy(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    // Only reached if the signal's default action is to go on.
    std::_Exit(128 + signal);
}

}  // namespace penmoji::cli
