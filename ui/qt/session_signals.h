#pragma once
// The end of the session as Linux tells it to a program that no session manager asks
// first: SIGTERM (the session ending or the system shutting down) and SIGHUP (the
// terminal or display it ran on gone). The signal handler only writes a byte to a
// pipe; the event loop reads it and hands the end of the session on, so what it
// causes runs on the user-interface thread like any other event. One at a time.
#include <QObject>

#include <csignal>
#include <functional>

class QSocketNotifier;

namespace karvelo {

class SessionSignals final : public QObject {
public:
    explicit SessionSignals(std::function<void()> ending, QObject* parent = nullptr);
    ~SessionSignals() override;  // the signals' earlier handling restored
    SessionSignals(const SessionSignals&) = delete;
    SessionSignals& operator=(const SessionSignals&) = delete;

    // False when the pipe or the handlers could not be set up (the signals then end
    // the program as they would without it).
    bool Installed() const { return installed_; }

private:
    void Read();

    std::function<void()> ending_;
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction oldTerm_ {};
    struct sigaction oldHangUp_ {};
    bool installed_ = false;
};

}  // namespace karvelo
