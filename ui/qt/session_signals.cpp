#include "session_signals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace karvelo {
namespace {

int pipeFds[2] = {-1, -1};  // read, write

extern "C" void OnSignal(int) {
    const int saved = errno;
    const char byte = 1;
    // Full or gone, the pipe loses nothing that matters: one byte says it all.
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &byte, 1);
    errno = saved;
}

void ClosePipe() {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    pipeFds[0] = pipeFds[1] = -1;
}

}  // namespace

SessionSignals::SessionSignals(std::function<void()> ending, QObject* parent)
    : QObject(parent), ending_(std::move(ending)) {
    if (pipeFds[0] >= 0 || ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (sigaction(SIGTERM, &action, &oldTerm_) != 0) {
        ClosePipe();
        return;
    }
    if (sigaction(SIGHUP, &action, &oldHangUp_) != 0) {
        sigaction(SIGTERM, &oldTerm_, nullptr);
        ClosePipe();
        return;
    }
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] { Read(); });
    installed_ = true;
}

SessionSignals::~SessionSignals() {
    if (!installed_) return;
    sigaction(SIGTERM, &oldTerm_, nullptr);
    sigaction(SIGHUP, &oldHangUp_, nullptr);
    delete notifier_;
    ClosePipe();
}

void SessionSignals::Read() {
    char bytes[16];
    while (::read(pipeFds[0], bytes, sizeof bytes) > 0) {
    }
    if (ending_) ending_();
}

}  // namespace karvelo
