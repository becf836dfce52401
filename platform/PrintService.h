#pragma once
// The print service (the CUPS scheduler) asked without ever hanging the program.
//
// Each question goes to the scheduler over a connection of its own, on a worker thread, and
// every wait of that connection ends after a few seconds of silence. The caller waits for the
// answer at most a limit: with a tick it processes its events meanwhile (its windows answer,
// and the tick may give up), without one it blocks, but never longer than the limit. A caller
// that stops waiting leaves the worker to end on its own; the question must therefore own
// what it uses (capture by value) and hand its result back through AskFor.
//
// libcups's own default connection waits for a silent scheduler without end (minutes, measured),
// and Qt's printer classes use it: they are only used after the scheduler has just answered.

#include <QString>

#include <functional>
#include <memory>

typedef struct _http_s http_t;

namespace platform {

enum class ServiceReply {
    Answered,  // the scheduler answered (with success or with an error of its own)
    Down,      // no scheduler takes connections where libcups looks for one
    Silent,    // the scheduler did not answer in time
    Cancelled, // the caller's tick gave up
};

// Called on the waiting thread about every 20 ms, after its events were processed, with the
// milliseconds waited so far; false gives up.
using ServiceTick = std::function<bool(int waitedMs)>;

// How long the scheduler may stay silent before it counts as not answering.
inline constexpr int serviceSilenceMs = 5000;

// Runs `question` with a connection to the scheduler that libcups names for the calling thread
// (cupsServer, cupsSetServer). `limitMs` > 0 bounds the whole wait; 0 waits as long as the
// scheduler keeps answering (a large job being sent), each silence bounded.
ServiceReply AskPrintService(std::function<void(http_t*)> question, const ServiceTick& tick,
                             int limitMs);

// A question with a result: `answer` is set only when the scheduler answered.
template <class T>
ServiceReply AskFor(std::function<T(http_t*)> question, T& answer, const ServiceTick& tick = {},
                    int limitMs = serviceSilenceMs) {
    auto result = std::make_shared<T>();
    const ServiceReply reply = AskPrintService(
        [result, question = std::move(question)](http_t* http) { *result = question(http); }, tick,
        limitMs);
    if (reply == ServiceReply::Answered) answer = std::move(*result);
    return reply;
}

// Whether the scheduler answers now.
ServiceReply CheckPrintService(const ServiceTick& tick = {});

// The scheduler libcups talks to on the calling thread, as a user reads it (its socket or host).
QString PrintServiceName();

} // namespace platform
