#pragma once

#include <cstdint>

#include "render/progress_receiver.h"

namespace penmoji::cli {

// Stops the program's renderings when the user asks (SIGINT, SIGTERM) or the time allowed
// with --max-seconds is up (SIGALRM). The handlers only note the signal; the renderings poll
// the note, stop at their next cursor position, and the writer removes its temporary file.
class StopSignals {
public:
    // Catches SIGINT and SIGTERM, and when `maxSeconds` is not 0, raises SIGALRM after that
    // many seconds. A second SIGINT or SIGTERM ends the program at once, as without this.
    static void install(unsigned maxSeconds);
    // The signal that asked to stop, 0 while none has.
    static int received();
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
