// The game's window on a deal of the test's choosing, for a screen reader's test to
// read from outside: it deals at once and prints the dealt table as one line of JSON
// (the columns' codes from the deepest card, the free cells, the foundations' top
// codes), then runs like the game until it is closed.
#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <string>

#include "funktioner.h"
#include "karvelo_window.h"
#include "test_decks.h"

namespace {

using funktioner::Board;

std::string TableJson() {
    std::string json = "{\"columns\": [";
    for (int c = 1; c <= 8; ++c) {
        json += c > 1 ? ", [" : "[";
        for (int row = 1; row <= Board(c, 0); ++row) json += (row > 1 ? ", " : "") + std::to_string(Board(c, row));
        json += "]";
    }
    json += "], \"cells\": [";
    for (int s = 0; s < 4; ++s) json += (s ? ", " : "") + std::to_string(Board(0, s + 1));
    json += "], \"foundations\": [";
    for (int p = 0; p < 4; ++p) json += (p ? ", " : "") + std::to_string(Board(9, p + 1));
    return json + "]}";
}

// Column 1 ends in the Hjärter nine and column 5 in the Spader ten; no ace lies
// exposed, so nothing goes up by itself.
karvelo::test::DeckOrder Deal() {
    using namespace karvelo::test;
    return karvelo::test::DeckWith({{DealPosition(1, 7), Hj(9)}, {DealPosition(2, 7), Kl(9)},
                                    {DealPosition(3, 7), Ru(9)}, {DealPosition(4, 7), Sp(9)},
                                    {DealPosition(5, 6), Sp(10)}, {DealPosition(6, 6), Kl(10)},
                                    {DealPosition(7, 6), Ru(10)}, {DealPosition(8, 6), Hj(10)}});
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Karvelo"));
    QApplication::setQuitOnLastWindowClosed(false);
    karvelo::KarveloWindow window;
    window.show();
    window.activateWindow();
    QTimer::singleShot(0, &window, [&window] {
        funktioner::SetRandomSource(karvelo::test::DeckSource(Deal()));
        window.form().mnuNyttSpel_Click();
        std::printf("%s\n", TableJson().c_str());
        std::fflush(stdout);
    });
    return QApplication::exec();
}
