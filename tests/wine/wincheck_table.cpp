// The Windows check's eyes and hands on karvelo.exe under Wine: it reads the table off
// a screenshot of the game's window (xwd through ImageMagick's import), tells every
// card by its pixels, which must be those of its artwork exactly, and plays moves with
// real X input (xdotool), checking the screen after each one against where the rules
// put every card. Positions are those of a 96 dots-per-inch display.
//   wincheck_table deal  <window> <menu-px> <faces>          the dealt table; prints the deal
//   wincheck_table moves <window> <menu-px> <faces> <state>  a drag onto a fitting card, a drag
//                        to a free cell, a double-click, the peek, the arrows, then play towards a
//                        run too long for the free cells and drag it; <state> gets the table that
//                        must stay
//   wincheck_table check <window> <menu-px> <faces> <state>  the screen shows <state>
//   wincheck_table win   <window> <menu-px> <faces>          wins the dealt game
//   wincheck_table keys  <window> <menu-px> <faces>          wins the dealt game with the keyboard alone
// <window> is the X window of the game (its menu bar, <menu-px> high, above the client
// area); <faces> holds 101.pam to 152.pam and the arrows ned.pam, vanster.pam, hoger.pam. Exit 0 done, 1 failed, 3 this deal will not
// do (no winning line or no such moves found): deal again.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "funktioner.h"
#include "key_walk.h"
#include "solver.h"

namespace {

using karvelo::test::Place;
using karvelo::test::PlayerMove;
using karvelo::test::TableModel;

struct Image {
    int width = 0, height = 0, depth = 0;  // depth 3 RGB, 4 RGB with alpha
    std::vector<unsigned char> data;
    const unsigned char* At(int x, int y) const {
        return &data[(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) *
                     static_cast<size_t>(depth)];
    }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

std::string Token(FILE* f) {
    std::string t;
    int c;
    while ((c = std::fgetc(f)) != EOF) {
        if (c == '#') {
            while ((c = std::fgetc(f)) != EOF && c != '\n') {
            }
            continue;
        }
        if (std::isspace(c)) {
            if (!t.empty()) break;
            continue;
        }
        t += static_cast<char>(c);
    }
    return t;
}

// Binary PPM (P6) or PAM (P7) with 8-bit samples.
std::optional<Image> ReadImage(FILE* f) {
    if (!f) return std::nullopt;
    Image im;
    const std::string magic = Token(f);
    if (magic == "P6") {
        im.width = std::atoi(Token(f).c_str());
        im.height = std::atoi(Token(f).c_str());
        if (Token(f) != "255") return std::nullopt;
        im.depth = 3;
    } else if (magic == "P7") {
        for (std::string t = Token(f); t != "ENDHDR" && !t.empty(); t = Token(f)) {
            if (t == "WIDTH") im.width = std::atoi(Token(f).c_str());
            else if (t == "HEIGHT") im.height = std::atoi(Token(f).c_str());
            else if (t == "DEPTH") im.depth = std::atoi(Token(f).c_str());
            else if (t == "MAXVAL" && Token(f) != "255") return std::nullopt;
            else if (t == "TUPLTYPE") Token(f);
        }
    } else {
        return std::nullopt;
    }
    if (im.width <= 0 || im.height <= 0 || im.width > 10000 || im.height > 10000 ||
        (im.depth != 3 && im.depth != 4))
        return std::nullopt;
    im.data.resize(static_cast<size_t>(im.width) * static_cast<size_t>(im.height) *
                   static_cast<size_t>(im.depth));
    if (std::fread(im.data.data(), 1, im.data.size(), f) != im.data.size()) return std::nullopt;
    return im;
}


void Run(const std::string& command) {
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "failed: %s\n", command.c_str());
}

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// ---- The table on screen

constexpr int kCardW = 71, kCardH = 96, kStrip = 20;

// A rectangle of client-area pixels, right and bottom outside.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    Box Grown(int by) const { return {left - by, top - by, right + by, bottom + by}; }
};

struct Screen {
    std::string window;
    int menu = 0;  // pixels of menu bar above the client area
    std::array<Image, 53> faces;
    std::array<Image, 3> arrows;  // down, left, right
    // The frame the game draws around the keyboard's focus, 3 pixels wide just outside
    // the focused place; what lies under it is not compared. Set for the table being
    // looked for.
    mutable std::optional<karvelo::TablePlace> focus;  // where the keys left it, if shown
    mutable std::optional<Box> focusRing;

    bool UnderFocusRing(int x, int y) const {
        // A pixel more each way for rounding.
        return focusRing && focusRing->Grown(4).Contains(x, y) && !focusRing->Grown(-1).Contains(x, y);
    }

    std::optional<Image> Shot() const {
        std::unique_ptr<FILE, int (*)(FILE*)> p(
            ::popen(("import -window " + window + " -depth 8 ppm:- 2>/dev/null").c_str(), "r"), ::pclose);
        return ReadImage(p.get());
    }
    // Client area to window pixels.
    int Y(int y) const { return y + menu; }

    // Every opaque pixel of `rows` rows of card `code`'s artwork is on screen at (x, y).
    bool Shows(const Image& shot, int code, int x, int y, int rows) const {
        const Image& face = faces[static_cast<size_t>(code)];
        rows = std::min(rows, face.height);
        if (!shot.Inside(x, Y(y)) || !shot.Inside(x + face.width - 1, Y(y) + rows - 1)) return false;
        for (int fy = 0; fy < rows; ++fy)
            for (int fx = 0; fx < face.width; ++fx) {
                const unsigned char* a = face.At(fx, fy);
                if (a[3] != 255 || UnderFocusRing(x + fx, y + fy)) continue;
                const unsigned char* s = shot.At(x + fx, Y(y) + fy);
                if (s[0] != a[0] || s[1] != a[1] || s[2] != a[2]) return false;
            }
        return true;
    }
    // The one card shown at (x, y) over `rows` rows: 0 none, -1 more than one.
    // Every opaque pixel of `picture` is on screen at (x, y).
    bool ShowsPicture(const Image& shot, const Image& picture, int x, int y) const {
        if (!shot.Inside(x, Y(y)) || !shot.Inside(x + picture.width - 1, Y(y) + picture.height - 1)) return false;
        for (int py = 0; py < picture.height; ++py)
            for (int px = 0; px < picture.width; ++px) {
                const unsigned char* a = picture.At(px, py);
                const unsigned char* s = shot.At(x + px, Y(y) + py);
                if (a[3] == 255 && (s[0] != a[0] || s[1] != a[1] || s[2] != a[2])) return false;
            }
        return true;
    }
    int Which(const Image& shot, int x, int y, int rows) const {
        int found = 0;
        for (int code = 1; code <= 52; ++code)
            if (Shows(shot, code, x, y, rows)) found = found ? -1 : code;
        return found;
    }
    bool Background(const Image& shot, int x, int y, int w, int h) const {
        if (!shot.Inside(2, Y(105))) return false;
        const unsigned char* bg = shot.At(2, Y(105));  // between the frames and the columns
        for (int yy = y; yy < y + h; ++yy)
            for (int xx = x; xx < x + w; ++xx) {
                if (!shot.Inside(xx, Y(yy)) || UnderFocusRing(xx, yy)) continue;
                const unsigned char* s = shot.At(xx, Y(yy));
                if (s[0] != bg[0] || s[1] != bg[1] || s[2] != bg[2]) return false;
            }
        return true;
    }
};

int ColumnX(int c) { return 8 + 80 * (c - 1); }   // 120 + 1200 (c - 1) twips
int RowY(int r) { return 112 + 20 * (r - 1); }    // 1680 + 300 (r - 1) twips
int CellX(int s) { return 72 * s + 3; }           // 1080 s + 40 twips
int FoundationX(int p) { return 355 + 72 * p; }   // 5280 + 1080 p + 40 twips
constexpr int kPlaceY = 2;                        // 30 twips

std::string Name(int code) {
    static const char* suits[] = {"Hjärter", "Klöver", "Ruter", "Spader"};
    return std::string(suits[(code - 1) / 13]) + " " + std::to_string((code - 1) % 13 + 1);
}

// Whether the screen shows `t`: every card of every column at its place (each covered
// one by its strip, the last whole) and nothing below, the free cells and the top of
// each foundation.
// The focused place on table `t`: a free cell's or foundation's frame, a column's last
// card or the place of its first.
Box FocusBox(const karvelo::TablePlace& p, const TableModel& t) {
    constexpr int kFrameW = 75, kFrameH = 100;  // 1125 x 1500 twips
    switch (p.kind) {
    case karvelo::PlaceKind::FreeCell: return {72 * p.number, 0, 72 * p.number + kFrameW, kFrameH};
    case karvelo::PlaceKind::Foundation:
        return {352 + 72 * p.number, 0, 352 + 72 * p.number + kFrameW, kFrameH};
    case karvelo::PlaceKind::Column: break;
    }
    const int n = static_cast<int>(t.columns[static_cast<size_t>(p.number)].size());
    const int top = RowY(std::max(n, 1));
    return {ColumnX(p.number), top, ColumnX(p.number) + kCardW, top + kCardH};
}

bool ShowsTable(const Screen& s, const Image& shot, const TableModel& t, std::string& why) {
    s.focusRing.reset();
    if (s.focus) s.focusRing = FocusBox(*s.focus, t);
    for (int c = 1; c <= 8; ++c) {
        const auto& col = t.columns[static_cast<size_t>(c)];
        const int n = static_cast<int>(col.size());
        for (int i = 0; i < n; ++i) {
            const int rows = i + 1 < n ? kStrip : kCardH;
            if (!s.Shows(shot, col[static_cast<size_t>(i)], ColumnX(c), RowY(i + 1), rows)) {
                why = "column " + std::to_string(c) + " row " + std::to_string(i + 1) + ": not " +
                      Name(col[static_cast<size_t>(i)]);
                return false;
            }
        }
        const int below = n ? RowY(n) + kCardH + 1 : RowY(1) + 20;
        if (!s.Background(shot, ColumnX(c) + 6, below, kCardW - 12, 12)) {
            why = "column " + std::to_string(c) + ": something below its " + std::to_string(n) + " cards";
            return false;
        }
    }
    for (int i = 0; i < 4; ++i) {
        const int cell = t.cells[static_cast<size_t>(i)];
        if (cell ? !s.Shows(shot, cell, CellX(i), kPlaceY, kCardH) : !s.Background(shot, 72 * i + 8, 86, 8, 8)) {
            why = "free cell " + std::to_string(i) + (cell ? ": not " + Name(cell) : ": not empty");
            return false;
        }
        const int top = t.foundations[static_cast<size_t>(i)];
        const int code = 13 * i + top;
        if (top ? !s.Shows(shot, code, FoundationX(i), kPlaceY, kCardH)
                : !s.Background(shot, 352 + 72 * i + 8, 86, 8, 8)) {
            why = "foundation " + std::to_string(i) + (top ? ": not " + Name(code) : ": not empty");
            return false;
        }
    }
    return true;
}

bool WaitFor(const Screen& s, const TableModel& t, int timeoutMs, std::string& why) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        if (auto shot = s.Shot(); shot && ShowsTable(s, *shot, t, why)) return true;
        Sleep(100);
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

// ---- Pointer input

struct Point {
    int x, y;
};

Point CardPoint(const TableModel& t, const Place& from, int card) {
    if (from.kind == Place::Kind::Cell) return {CellX(from.index) + 35, kPlaceY + 48};
    const auto& col = t.columns[static_cast<size_t>(from.index)];
    const auto at = std::find(col.begin(), col.end(), card) - col.begin();
    const bool exposed = at + 1 == static_cast<long>(col.size());
    return {ColumnX(from.index) + 35, RowY(static_cast<int>(at) + 1) + (exposed ? 48 : 10)};
}

Point TargetPoint(const TableModel& t, const Place& to) {
    switch (to.kind) {
    case Place::Kind::Cell: return {72 * to.index + 37, 50};
    case Place::Kind::Foundation: return {352 + 72 * to.index + 37, 50};
    case Place::Kind::Column: break;
    }
    const int n = static_cast<int>(t.columns[static_cast<size_t>(to.index)].size());
    return {ColumnX(to.index) + 35, (n ? RowY(n) : RowY(1)) + 48};
}

void Drag(const Screen& s, Point a, Point b) {
    const std::string w = " --window " + s.window + " ";
    const Point mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
    Run("xdotool mousemove" + w + std::to_string(a.x) + " " + std::to_string(s.Y(a.y)) +
        " sleep 0.05 mousedown 1 sleep 0.05 mousemove" + w + std::to_string(mid.x) + " " +
        std::to_string(s.Y(mid.y)) + " sleep 0.05 mousemove" + w + std::to_string(b.x) + " " +
        std::to_string(s.Y(b.y)) + " sleep 0.05 mouseup 1");
}

void DoubleClick(const Screen& s, Point a) {
    Run("xdotool mousemove --window " + s.window + " " + std::to_string(a.x) + " " + std::to_string(s.Y(a.y)) +
        " sleep 0.1 click --repeat 2 --delay 60 1");
}

// Makes `m` with `input` (`how`, for the messages) and waits until the screen shows the
// table after it and the automatic play; input the game ignored because it came too
// soon after the previous move is made again. Near the end a move can set off the
// automatic play of every card left, each flight paced to displayed frames: up to half
// a minute on a loaded machine.
constexpr int kLongestMoveMs = 30000;

bool PlayWith(const Screen& s, TableModel& t, const PlayerMove& m, bool last, const char* how,
              const std::function<void()>& input) {
    TableModel after = t;
    if (!after.Apply(m)) {
        std::fprintf(stderr, "the rules refuse %s\n", Name(m.card).c_str());
        return false;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        input();
        if (last && after.Won()) return true;  // the table is cleared and a question asked
        std::string why;
        if (WaitFor(s, after, kLongestMoveMs, why)) {
            t = after;
            Sleep(120);  // the move's handler returns
            return true;
        }
        std::string unchanged;
        if (!WaitFor(s, t, 500, unchanged)) {
            std::fprintf(stderr, "after moving %s %s: %s\n", Name(m.card).c_str(), how, why.c_str());
            return false;
        }
    }
    std::fprintf(stderr, "%s never moved %s\n", Name(m.card).c_str(), how);
    return false;
}

// Plays `m` with the mouse: a drag, or a double-click.
bool Play(const Screen& s, TableModel& t, const PlayerMove& m, bool doubleClick, bool last) {
    return PlayWith(s, t, m, last, "with the mouse", [&] {
        if (doubleClick) {
            DoubleClick(s, CardPoint(t, m.from, m.card));
        } else {
            Drag(s, CardPoint(t, m.from, m.card), TargetPoint(t, m.to));
        }
    });
}

// ---- The table as state files: cells, foundations, then each column's count and cards.

void Write(const TableModel& t, const std::string& path) {
    std::ofstream out(path);
    for (int c : t.cells) out << c << ' ';
    for (int f : t.foundations) out << f << ' ';
    for (int c = 1; c <= 8; ++c) {
        out << t.columns[static_cast<size_t>(c)].size();
        for (int card : t.columns[static_cast<size_t>(c)]) out << ' ' << card;
        out << '\n';
    }
}

std::optional<TableModel> Read(const std::string& path) {
    std::ifstream in(path);
    TableModel t;
    for (int& c : t.cells) in >> c;
    for (int& f : t.foundations) in >> f;
    for (int c = 1; c <= 8; ++c) {
        size_t n = 0;
        in >> n;
        if (n > 52) return std::nullopt;
        t.columns[static_cast<size_t>(c)].resize(n);
        for (int& card : t.columns[static_cast<size_t>(c)]) in >> card;
    }
    if (!in) return std::nullopt;
    return t;
}

// ---- Reading the deal

std::optional<TableModel> ReadDeal(const Screen& s, std::array<int, 53>& deck) {
    const auto shot = s.Shot();
    if (!shot) {
        std::fprintf(stderr, "no screenshot of window %s\n", s.window.c_str());
        return std::nullopt;
    }
    std::set<int> seen;
    for (int c = 1; c <= 8; ++c) {
        const int n = c <= 4 ? 7 : 6;
        for (int r = 1; r <= n; ++r) {
            const int code = s.Which(*shot, ColumnX(c), RowY(r), r < n ? kStrip : kCardH);
            if (code <= 0) {
                std::fprintf(stderr, "column %d row %d: %s\n", c, r,
                             code ? "more than one card's pixels" : "no card's pixels");
                return std::nullopt;
            }
            if (!seen.insert(code).second) {
                std::fprintf(stderr, "%s is dealt twice\n", Name(code).c_str());
                return std::nullopt;
            }
            deck[static_cast<size_t>((r - 1) * 8 + c)] = code;
        }
    }
    TableModel t = TableModel::FromDeck(deck);
    std::string why;
    if (!ShowsTable(s, *shot, t, why)) {
        std::fprintf(stderr, "the deal: %s\n", why.c_str());
        return std::nullopt;
    }
    return t;
}

// ---- Finding moves

using funktioner::CanStackOn;

std::optional<PlayerMove> OntoCard(const TableModel& t) {
    for (int a = 1; a <= 8; ++a)
        for (int b = 1; b <= 8; ++b) {
            const auto &from = t.columns[static_cast<size_t>(a)], &to = t.columns[static_cast<size_t>(b)];
            if (a != b && !from.empty() && !to.empty() && CanStackOn(to.back(), from.back()))
                return PlayerMove{{Place::Kind::Column, a}, {Place::Kind::Column, b}, from.back()};
        }
    return std::nullopt;
}

// A column ending in a run of two, whose first card fits on another column's last
// card, with every free cell full and no empty column: the run is one card more than
// may move.
std::optional<PlayerMove> TooLong(const TableModel& t) {
    for (int c : t.cells)
        if (!c) return std::nullopt;
    for (int c = 1; c <= 8; ++c)
        if (t.columns[static_cast<size_t>(c)].empty()) return std::nullopt;
    for (int a = 1; a <= 8; ++a) {
        const auto& from = t.columns[static_cast<size_t>(a)];
        if (from.size() < 2 || !CanStackOn(from[from.size() - 2], from.back())) continue;
        for (int b = 1; b <= 8; ++b)
            if (b != a && CanStackOn(t.columns[static_cast<size_t>(b)].back(), from[from.size() - 2]))
                return PlayerMove{{Place::Kind::Column, a}, {Place::Kind::Column, b}, from[from.size() - 2]};
    }
    return std::nullopt;
}

// Single-card moves onto cards and into the first empty free cell, at most `depth`,
// that lead to a run too long.
bool LeadToTooLong(const TableModel& t, int depth, std::vector<PlayerMove>& path, std::set<std::string>& seen) {
    if (TooLong(t)) return true;
    if (depth == 0 || !seen.insert(t.Key()).second) return false;
    std::vector<PlayerMove> moves;
    for (int a = 1; a <= 8; ++a) {
        const auto& from = t.columns[static_cast<size_t>(a)];
        if (from.empty()) continue;
        for (int b = 1; b <= 8; ++b)
            moves.push_back({{Place::Kind::Column, a}, {Place::Kind::Column, b}, from.back()});
        for (int s = 0; s < 4; ++s)
            if (!t.cells[static_cast<size_t>(s)]) {
                moves.push_back({{Place::Kind::Column, a}, {Place::Kind::Cell, s}, from.back()});
                break;
            }
    }
    for (const PlayerMove& m : moves) {
        if (m.to.kind == Place::Kind::Column && t.columns[static_cast<size_t>(m.to.index)].empty()) continue;
        TableModel next = t;
        if (!next.Apply(m)) continue;
        path.push_back(m);
        if (LeadToTooLong(next, depth - 1, path, seen)) return true;
        path.pop_back();
    }
    return false;
}

int Moves(const Screen& s, const std::string& statePath) {
    std::array<int, 53> deck{};
    auto t = ReadDeal(s, deck);
    if (!t) return 1;
    // A drag onto a fitting card, a drag into free cell 2, a double-click to the
    // leftmost empty free cell (0).
    const auto onto = OntoCard(*t);
    if (!onto) {
        std::printf("no card of this deal fits on another\n");
        return 3;
    }
    if (!Play(s, *t, *onto, false, false)) return 1;
    std::printf("dragged %s onto a fitting card\n", Name(onto->card).c_str());
    for (int pass = 0; pass < 2; ++pass) {
        const int cell = pass == 0 ? 2 : 0;
        int column = 0;
        for (int c = 1; c <= 8 && !column; ++c)
            if (t->columns[static_cast<size_t>(c)].size() > 1 && c != onto->to.index) column = c;
        if (!column || t->cells[static_cast<size_t>(cell)]) return 3;
        const PlayerMove m{{Place::Kind::Column, column}, {Place::Kind::Cell, cell},
                           t->columns[static_cast<size_t>(column)].back()};
        if (!Play(s, *t, m, pass == 1, false)) return 1;
        std::printf("%s %s to free cell %d\n", pass == 0 ? "dragged" : "double-clicked", Name(m.card).c_str(),
                    cell);
    }
    // The peek: the right button held on a covered card shows it whole, in front.
    for (int c = 1; c <= 8; ++c) {
        const auto& col = t->columns[static_cast<size_t>(c)];
        if (col.size() < 2) continue;
        const int covered = col.front();
        Run("xdotool mousemove --window " + s.window + " " + std::to_string(ColumnX(c) + 35) + " " +
            std::to_string(s.Y(RowY(1) + 10)) + " sleep 0.05 mousedown 3");
        bool whole = false;
        for (int i = 0; i < 30 && !whole; ++i) {
            const auto shot = s.Shot();
            whole = shot && s.Shows(*shot, covered, ColumnX(c), RowY(1), kCardH);
            if (!whole) Sleep(100);
        }
        Run("xdotool mouseup 3");
        std::string why;
        if (!whole || !WaitFor(s, *t, 3000, why)) {
            std::fprintf(stderr, "the peek at %s: %s\n", Name(covered).c_str(), whole ? why.c_str() : "not shown whole");
            return 1;
        }
        std::printf("the right button showed %s whole, and its release the table as before\n", Name(covered).c_str());
        break;
    }
    // The arrows point where the pointer is: free cells left, foundations right, the
    // tableau down.
    const struct {
        Point at;
        int arrow;
        const char* where;
    } passes[] = {{{37, 80}, 1, "free cell 0"}, {{352 + 37, 80}, 2, "foundation 0"},
                  {{ColumnX(4) + 35, RowY(1) + 10}, 0, "column 4"}};
    for (const auto& pass : passes) {
        Run("xdotool mousemove --window " + s.window + " " + std::to_string(pass.at.x) + " " +
            std::to_string(s.Y(pass.at.y)) + " sleep 0.05 mousemove_relative 1 1");
        bool shown = false;
        for (int i = 0; i < 30 && !shown; ++i) {
            const auto shot = s.Shot();
            shown = shot && s.ShowsPicture(*shot, s.arrows[static_cast<size_t>(pass.arrow)], 304, 32);
            if (!shown) Sleep(100);
        }
        if (!shown) {
            std::fprintf(stderr, "the pointer over %s: not its arrow\n", pass.where);
            return 1;
        }
    }
    std::printf("the arrow pointed at the free cells, the foundations and the tableau in turn\n");
    // On to a run too long for the free cells, and its drag.
    std::vector<PlayerMove> path;
    std::set<std::string> seen;
    if (!LeadToTooLong(*t, 6, path, seen)) {
        std::printf("no run too long within reach\n");
        return 3;
    }
    for (const PlayerMove& m : path)
        if (!Play(s, *t, m, false, false)) return 1;
    const PlayerMove run = *TooLong(*t);
    Write(*t, statePath);
    Drag(s, CardPoint(*t, run.from, run.card), TargetPoint(*t, run.to));
    std::printf("dragged a run of two from %s onto a fitting card, with no free cell\n", Name(run.card).c_str());
    return 0;
}

// ---- Keys

karvelo::TablePlace ToTablePlace(const Place& p) {
    using karvelo::PlaceKind;
    switch (p.kind) {
    case Place::Kind::Cell: return {PlaceKind::FreeCell, p.index};
    case Place::Kind::Foundation: return {PlaceKind::Foundation, p.index};
    case Place::Kind::Column: break;
    }
    return {PlaceKind::Column, p.index};
}

void Keys(const Screen& s, const std::string& keys) {
    Run("xdotool windowactivate --sync " + s.window + " key --delay 40 " + keys);
}

// The keyboard's focus as the keys left it: the game shows it at column 1 on the first
// key and moves it only with the arrows.
struct KeyPlayer {
    karvelo::TablePlace focus{karvelo::PlaceKind::Column, 1};

    std::string WalkTo(const karvelo::TablePlace& to) {
        std::string keys;
        for (karvelo::test::Arrow a : karvelo::test::ArrowsFromTo(focus, to)) {
            switch (a) {
            case karvelo::test::Arrow::Left: keys += "Left "; break;
            case karvelo::test::Arrow::Right: keys += "Right "; break;
            case karvelo::test::Arrow::Up: keys += "Up "; break;
            case karvelo::test::Arrow::Down: keys += "Down "; break;
            }
        }
        focus = to;
        return keys;
    }
};

// Plays `m` with keys: Escape (cards lifted by a key the game took while cards still
// flew go back down), the arrows to the card, Enter, the arrows to the place, Space.
bool PlayByKeys(const Screen& s, TableModel& t, KeyPlayer& player, const PlayerMove& m, bool last) {
    return PlayWith(s, t, m, last, "by keys", [&] {
        std::string keys = "Escape " + player.WalkTo(ToTablePlace(m.from)) + "Return ";
        keys += player.WalkTo(ToTablePlace(m.to)) + "space";
        Keys(s, keys);
        s.focus = player.focus;
    });
}

// A short winning line for the dealt table, or nothing (exit 3: deal again).
std::optional<std::vector<PlayerMove>> WinningLine(const TableModel& t) {
    auto plan = ShortLine(t, 200000);
    if (plan) {
        const size_t found = plan->size();
        plan = Shorten(t, *plan);
        std::printf("a winning line of %zu moves, shortened to %zu\n", found, plan->size());
    }
    // A long line is a long test: another deal is quicker.
    constexpr size_t kLongest = 110;
    if (!plan || plan->size() > kLongest) {
        std::printf("no winning line of at most %zu moves found for this deal\n", kLongest);
        return std::nullopt;
    }
    std::fflush(stdout);
    return plan;
}

int WinByKeys(const Screen& s) {
    std::array<int, 53> deck{};
    auto t = ReadDeal(s, deck);
    if (!t) return 1;
    const auto plan = WinningLine(*t);
    if (!plan) return 3;
    KeyPlayer player;
    Keys(s, "Left");  // the first key shows the focus, on column 1
    for (size_t i = 0; i < plan->size(); ++i)
        if (!PlayByKeys(s, *t, player, (*plan)[i], i + 1 == plan->size())) return 1;
    std::printf("won in %zu moves made with keys\n", plan->size());
    return 0;
}

int Win(const Screen& s) {
    std::array<int, 53> deck{};
    auto t = ReadDeal(s, deck);
    if (!t) return 1;
    const auto plan = WinningLine(*t);
    if (!plan) return 3;
    for (size_t i = 0; i < plan->size(); ++i)
        if (!Play(s, *t, (*plan)[i], false, i + 1 == plan->size())) return 1;
    std::printf("won in %zu moves\n", plan->size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s deal|moves|check|win|keys <window> <menu-px> <faces> [state]\n", argv[0]);
        return 2;
    }
    const std::string command = argv[1];
    Screen s;
    s.window = argv[2];
    s.menu = std::atoi(argv[3]);
    for (int code = 1; code <= 52; ++code) {
        const std::string path = std::string(argv[4]) + "/" + std::to_string(100 + code) + ".pam";
        std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
        auto face = ReadImage(f.get());
        if (!face || face->depth != 4) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 2;
        }
        s.faces[static_cast<size_t>(code)] = std::move(*face);
    }
    const char* arrowNames[3] = {"ned", "vanster", "hoger"};
    for (size_t i = 0; i < 3; ++i) {
        const std::string path = std::string(argv[4]) + "/" + arrowNames[i] + ".pam";
        std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "rb"), std::fclose);
        auto arrow = ReadImage(f.get());
        if (!arrow || arrow->depth != 4) {
            std::fprintf(stderr, "cannot read %s\n", path.c_str());
            return 2;
        }
        s.arrows[i] = std::move(*arrow);
    }
    if (command == "deal") {
        std::array<int, 53> deck{};
        if (!ReadDeal(s, deck)) return 1;
        for (int p = 1; p <= 52; ++p) std::printf("%d%c", deck[static_cast<size_t>(p)], p < 52 ? ' ' : '\n');
        return 0;
    }
    if (command == "moves" && argc > 5) return Moves(s, argv[5]);
    if (command == "check" && argc > 5) {
        const auto t = Read(argv[5]);
        if (!t) return 2;
        std::string why;
        if (WaitFor(s, *t, 3000, why)) return 0;
        std::fprintf(stderr, "the table: %s\n", why.c_str());
        return 1;
    }
    if (command == "win") return Win(s);
    if (command == "keys") return WinByKeys(s);
    return 2;
}
