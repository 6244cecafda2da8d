// SPDX-License-Identifier: MIT
#include "cli/stop_signals.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <thread>

namespace penmoji::cli {
namespace {

// Written by the handlers, read by every rendering thread: it must be lock-free to be safe in
// a handler.
std::atomic<int> receivedSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

// The handlers wake the watchdog through this pipe: writing to a pipe is safe in a handler,
// where waking a condition variable is not.
int wakeWatchdog = -1;

// Set by whoever reports the end first: the main thread's own report and the watchdog's never
// both reach the terminal.
std::atomic_flag endClaimed;

// How long a stop may take the program's own way (the renderings stop at their next cursor
// position, the writers remove their temporaries) before the watchdog ends it.
constexpr auto kGrace = std::chrono::seconds(2);

extern "C" void noteSignal(int signal) {
    int none = 0;
    receivedSignal.compare_exchange_strong(none, signal);
    if (wakeWatchdog >= 0) {
        const char byte = 1;
        (void)!::write(wakeWatchdog, &byte, 1);
    }
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

void writeError(const std::string& text) {
    // A progress bar may be on the line: the message starts on a clean one.
    const std::string line =
        (::isatty(STDERR_FILENO) != 0 ? "\r" + std::string(60, ' ') + "\r" : "") + text;
    (void)!::write(STDERR_FILENO, line.data(), line.size());
}

// Waits for the first stop signal, then gives the program its grace to stop; one stuck in a
// call that does not return (a library's long parse, an open that waits for a reader) is ended
// here, having written nothing more.
void watch(int wakeUp, unsigned maxSeconds) {
    char byte = 0;
    while (::read(wakeUp, &byte, 1) < 0) {
    }
    std::this_thread::sleep_for(kGrace);
    if (endClaimed.test_and_set()) {
        return;
    }
    const int signal = StopSignals::received();
    writeError(StopSignals::endMessage(signal, maxSeconds));
    if (signal == SIGALRM) {
        std::_Exit(1);
    }
    StopSignals::endBy(signal);
}

struct Watch {
    int wakeUp;
    unsigned maxSeconds;
};

extern "C" void* runWatchdog(void* argument) {
    const Watch watch = *static_cast<Watch*>(argument);
    delete static_cast<Watch*>(argument);
    penmoji::cli::watch(watch.wakeUp, watch.maxSeconds);
    return nullptr;
}

// On a small stack of its own: it only waits, and a process under a tight memory limit must
// still start. Without it the program stops as before, only not when stuck.
void startWatchdog(unsigned maxSeconds) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return;
    }
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 64 * 1024);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    auto* watch = new Watch{ends[0], maxSeconds};
    pthread_t thread;
    if (pthread_create(&thread, &attributes, runWatchdog, watch) == 0) {
        wakeWatchdog = ends[1];
    } else {
        delete watch;
        ::close(ends[0]);
        ::close(ends[1]);
    }
    pthread_attr_destroy(&attributes);
}

}  // namespace

void StopSignals::install(unsigned maxSeconds) {
    startWatchdog(maxSeconds);
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

void StopSignals::claimEnd() {
    if (endClaimed.test_and_set()) {
        // The watchdog is ending the program.
        while (true) {
            ::pause();
        }
    }
}

std::string StopSignals::endMessage(int signal, unsigned maxSeconds) {
    if (signal == SIGALRM) {
        return "penmoji-render: gave up after " + std::to_string(maxSeconds) +
               (maxSeconds == 1 ? " second" : " seconds") + " (--max-seconds)\n";
    }
    return "penmoji-render: interrupted\n";
}

void StopSignals::endBy(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    // Only reached if the signal's default action is to go on.
    std::_Exit(128 + signal);
}

}  // namespace penmoji::cli
