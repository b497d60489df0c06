// Runs the soak: KARVELO_SOAK_SEED picks the random stream (default 1),
// KARVELO_SOAK_EVENTS how many input events it sends (default 5000). The store is a
// private temporary folder; the window is offscreen and unpaced. A seed replays
// exactly: the same events, the same deals, the same result.
#include <QApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "soak.h"

namespace {

QtMessageHandler previousHandler = nullptr;
// The offscreen platform says on every fixed-size change that it cannot pass size
// hints on; that says nothing about the window.
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QStringLiteral("propagateSizeHints"))) return;
    if (previousHandler) previousHandler(type, context, text);
}

long long EnvNumber(const char* name, long long fallback) {
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    const long long v = std::strtoll(text, &end, 10);
    return end && *end == '\0' && v > 0 ? v : fallback;
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!home.isValid()) return 2;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    qputenv("KARVELO_NO_PACING", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    previousHandler = qInstallMessageHandler(QuietHandler);

    karvelo::soak::Options options;
    options.seed = static_cast<uint64_t>(EnvNumber("KARVELO_SOAK_SEED", 1));
    options.events = static_cast<long>(EnvNumber("KARVELO_SOAK_EVENTS", 5000));

    const auto start = std::chrono::steady_clock::now();
    karvelo::soak::Summary s;
    {
        karvelo::soak::Soak soak(options);
        s = soak.Run();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "soak seed %llu: %ld events (%ld during moves, deals or growth), %ld deals, "
        "%d won, %d abandoned, %ld runs of the program, %ld planned and %ld other legal "
        "moves, %ld runs refused, %ld modal windows closed, %ld clearings, %ld easy decks, %ld solver "
        "searches, %.1f s\n",
        static_cast<unsigned long long>(options.seed), s.events, s.injected, s.deals, s.wins,
        s.losses, s.restarts, s.plannedMoves, s.legalMoves, s.refusedRuns, s.modalsClosed, s.clearings,
        s.easyDecks, s.solves, seconds);
    if (!s.failure.empty()) {
        std::printf("FAILED %s", s.failure.c_str());
        return 1;
    }
    return 0;
}
