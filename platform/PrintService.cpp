#include "platform/PrintService.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cups/cups.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform {

namespace {

// libcups reports a silent wait this often (seconds); the worker then decides whether to go on.
constexpr double silenceTick = 0.25;
// Silences are reported every tick while they last, besides some waits of libcups's own of
// about a second: a longer gap between two reports means the scheduler answered in between.
constexpr qint64 answeredGapMs = 2000;

struct Question {
    std::function<void(http_t*)> ask;
    QByteArray server;
    int port = 0;
    http_encryption_t encryption = HTTP_ENCRYPTION_IF_REQUESTED;

    std::mutex mutex;
    std::condition_variable finished;
    bool done = false; // under `mutex`, with `outcome`
    ServiceReply outcome = ServiceReply::Answered;
    std::atomic<bool> abandoned{false};

    // The worker's own: when the present silence began and was last reported.
    QElapsedTimer clock;
    qint64 silenceStart = 0;
    qint64 lastSilence = -answeredGapMs;
    bool silent = false;
};

// libcups's timeout callback: 1 goes on waiting, 0 fails the request.
int onSilence(http_t*, void* data) {
    Question& q = *static_cast<Question*>(data);
    const qint64 now = q.clock.elapsed();
    if (now - q.lastSilence > answeredGapMs) q.silenceStart = now - qint64(silenceTick * 1000);
    q.lastSilence = now;
    if (q.abandoned) return 0;
    if (now - q.silenceStart < serviceSilenceMs) return 1;
    q.silent = true;
    return 0;
}

void work(const std::shared_ptr<Question>& q) {
    q->clock.start();
    http_t* http = httpConnect2(q->server.constData(), q->port, nullptr, AF_UNSPEC, q->encryption,
                                1, serviceSilenceMs, nullptr);
    ServiceReply outcome = ServiceReply::Answered;
    if (!http) {
        // Refused at once: nothing listens. A connection that never came: a silent host.
        outcome =
            q->clock.elapsed() >= serviceSilenceMs / 2 ? ServiceReply::Silent : ServiceReply::Down;
    } else {
        httpSetTimeout(http, silenceTick, onSilence, q.get());
        q->ask(http);
        httpClose(http);
        if (q->silent) outcome = ServiceReply::Silent;
    }
    q->ask = nullptr; // what the question holds goes with the worker, not with a late caller
    {
        const std::lock_guard lock(q->mutex);
        q->outcome = outcome;
        q->done = true;
    }
    q->finished.notify_all();
}

} // namespace

ServiceReply AskPrintService(std::function<void(http_t*)> question, const ServiceTick& tick,
                             int limitMs) {
    auto q = std::make_shared<Question>();
    q->ask = std::move(question);
    // libcups keeps the server per thread: the worker talks to the caller's.
    q->server = cupsServer();
    q->port = ippPort();
    q->encryption = cupsEncryption();
    try {
        std::thread([q] { work(q); }).detach();
    } catch (const std::system_error&) {
        return ServiceReply::Silent; // no thread to ask with: as good as no answer
    }
    QElapsedTimer clock;
    clock.start();
    std::unique_lock lock(q->mutex);
    while (!q->done) {
        const int waited = int(clock.elapsed());
        if (limitMs > 0 && waited >= limitMs) {
            q->abandoned = true;
            return ServiceReply::Silent;
        }
        if (tick) {
            lock.unlock();
            QCoreApplication::processEvents();
            const bool goOn = tick(waited);
            lock.lock();
            if (!goOn && !q->done) {
                q->abandoned = true;
                return ServiceReply::Cancelled;
            }
        }
        q->finished.wait_for(lock, std::chrono::milliseconds(20));
    }
    return q->outcome;
}

ServiceReply CheckPrintService(const ServiceTick& tick) {
    bool responded = false;
    const ServiceReply reply = AskFor<bool>(
        [](http_t* http) {
            ipp_t* response = cupsDoRequest(http, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
            ippDelete(response);
            return response != nullptr;
        },
        responded, tick);
    // A scheduler that took the connection and closed it unanswered is going down.
    return reply == ServiceReply::Answered && !responded ? ServiceReply::Down : reply;
}

QString PrintServiceName() {
    return QString::fromUtf8(cupsServer());
}

} // namespace platform
