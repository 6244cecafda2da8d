// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "render/progress_receiver.h"

namespace penmoji::cli {

// Stops the program's renderings when the user asks (SIGINT, SIGTERM) or the time allowed
// with --max-seconds is up (SIGALRM). The handlers only note the signal; the renderings poll
// the note, stop at their next cursor position, and the writer removes its temporary file.
// Should the program not have ended two seconds after the first signal, being stuck in a call
// that polls nothing, a watchdog thread ends it with the same message and status.
class StopSignals {
public:
    // Catches SIGINT and SIGTERM, and when `maxSeconds` is not 0, raises SIGALRM after that
    // many seconds; starts the watchdog. A second SIGINT or SIGTERM ends the program at once,
    // as without this.
    static void install(unsigned maxSeconds);
    // The signal that asked to stop, 0 while none has.
    static int received();
    // Called by the main thread before it reports how the program ends, so that the watchdog
    // no longer ends it meanwhile. Never returns if the watchdog already is ending it.
    static void claimEnd();
    // What the program says when `signal` ended it, ending in a line feed.
    static std::string endMessage(int signal, unsigned maxSeconds);
    // Ends the program as `signal` would have: with the default action of the signal.
    [[noreturn]] static void endBy(int signal);
};

// Passes progress on, and asks to stop once a stop signal has come.
class StoppableProgress final : public ProgressReceiver {
public:
    explicit StoppableProgress(ProgressReceiver& inner) : inner_(inner) {}

    void reportProgress(std::int64_t position, std::int64_t total) override {
        inner_.reportProgress(position, total);
    }
    bool stopRequested() override { return StopSignals::received() != 0 || inner_.stopRequested(); }

private:
    ProgressReceiver& inner_;
};

}  // namespace penmoji::cli
