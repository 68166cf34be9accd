#include "server/assets/screen_bodies.h"

#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

#include "server/assets/package_builder.h"

namespace zentri::server::assets {

namespace {

std::string N(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    std::string s = text;
    if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.resize(s.size() - 2);
    return s;
}

// Appends SVG elements; texts are escaped, fonts are DejaVu.
class Svg {
  public:
    Svg& Rect(double x, double y, double w, double h, const std::string& fill, double rx = 0,
              const std::string& extra = "") {
        out_ << "<rect x='" << N(x) << "' y='" << N(y) << "' width='" << N(w) << "' height='"
             << N(h) << "' rx='" << N(rx) << "' fill='" << fill << "' " << extra << "/>";
        return *this;
    }
    Svg& Circle(double cx, double cy, double r, const std::string& fill,
                const std::string& extra = "") {
        out_ << "<circle cx='" << N(cx) << "' cy='" << N(cy) << "' r='" << N(r) << "' fill='"
             << fill << "' " << extra << "/>";
        return *this;
    }
    Svg& Line(double x1, double y1, double x2, double y2, const std::string& stroke,
              double width = 1) {
        out_ << "<path d='M" << N(x1) << " " << N(y1) << " L" << N(x2) << " " << N(y2)
             << "' stroke='" << stroke << "' stroke-width='" << N(width)
             << "' stroke-linecap='round'/>";
        return *this;
    }
    Svg& Path(const std::string& d, const std::string& fill, const std::string& extra = "") {
        out_ << "<path d='" << d << "' fill='" << fill << "' " << extra << "/>";
        return *this;
    }
    Svg& Text(double x, double y, const std::string& text, double size, const std::string& fill,
              bool bold = false, const char* anchor = "start", const char* family = "DejaVu Sans",
              const std::string& extra = "") {
        out_ << "<text x='" << N(x) << "' y='" << N(y) << "' font-family='" << family
             << "' font-size='" << N(size) << "' fill='" << fill << "' text-anchor='" << anchor
             << "'" << (bold ? " font-weight='bold' " : " ") << extra << ">" << XmlEscaped(text)
             << "</text>";
        return *this;
    }
    Svg& Raw(const std::string& svg) {
        out_ << svg;
        return *this;
    }
    std::string Str() const { return out_.str(); }

  private:
    std::ostringstream out_;
};

// A deterministic sequence of choices from the application's seed and the screenshot number.
class Dice {
  public:
    explicit Dice(uint32_t seed) : state_(seed ? seed : 1) {}
    int Next(int n) {
        state_ ^= state_ << 13, state_ ^= state_ >> 17, state_ ^= state_ << 5;
        return static_cast<int>(state_ % static_cast<uint32_t>(n));
    }

  private:
    uint32_t state_;
};

// Words of `text` in lines of at most `chars` characters.
std::vector<std::string> Wrap(const std::string& text, size_t chars) {
    std::vector<std::string> lines;
    std::istringstream words(text);
    std::string word, line;
    while (words >> word) {
        if (!line.empty() && line.size() + 1 + word.size() > chars) {
            lines.push_back(line);
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// Short phrases of the description ("Quick notes with folders", "search", ...).
std::vector<std::string> Phrases(const std::string& description) {
    std::vector<std::string> phrases;
    std::string current;
    for (char c : description) {
        if (c == '.' || c == ',' || c == ':' || c == ';') {
            size_t start = current.find_first_not_of(' ');
            if (start != std::string::npos) phrases.push_back(current.substr(start));
            current.clear();
        } else {
            current += c;
        }
    }
    for (std::string& p : phrases) {
        if (p.size() > 26) p = p.substr(0, p.rfind(' ', 26));
        if (!p.empty()) p[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(p[0])));
    }
    return phrases;
}

bool Has(const AppEntry& app, const char* word) {
    return app.name.find(word) != std::string::npos;
}

struct Area {
    const PictureStyle& style;
    const AppEntry& app;
    int number, w, h;
    Dice dice;
};

const char* const kInk = "#1e2530";
const char* const kGrey = "#6b7684";
const char* const kLine = "#d5dbe2";

void Rows(Area& a, Svg& s, const std::vector<std::pair<std::string, std::string>>& rows,
          bool withSwitch) {
    double y = 0, rowH = 36;
    for (size_t i = 0; i < rows.size() && y + rowH <= a.h + 1; ++i, y += rowH) {
        if (i == 1) s.Rect(0, y, a.w, rowH, a.style.light, 0, "fill-opacity='0.35'");
        s.Rect(8, y + 7, 22, 22, i % 2 ? a.style.main : a.style.dark, 5);
        s.Text(19, y + 22, rows[i].first.substr(0, 1), 12, "#ffffff", true, "middle");
        // Bold 12-pixel DejaVu is about 7.5 pixels a character; the text ends before the
        // switch or arrow.
        size_t room = static_cast<size_t>((a.w - 38 - (withSwitch ? 52 : 22)) / 7.5);
        std::string title = rows[i].first;
        if (title.size() > room) title = title.substr(0, room - 1) + "\u2026";
        s.Text(38, y + 16, title, 12, kInk, true);
        s.Text(38, y + 30, rows[i].second, 10, kGrey);
        if (withSwitch) {
            bool on = a.dice.Next(3) != 0;
            s.Rect(a.w - 44, y + 10, 36, 16, on ? a.style.main : "#d3d9e0", 8);
            s.Circle(on ? a.w - 16 : a.w - 36, y + 18, 6.5, "#ffffff");
        } else {
            s.Path("M" + N(a.w - 14) + " " + N(y + 13) + " l5 5 l-5 5", "none",
                   "stroke='#9aa4b1' stroke-width='2' stroke-linecap='round'");
        }
        s.Line(0, y + rowH - 0.5, a.w, y + rowH - 0.5, kLine);
    }
}

void ListScreen(Area& a, Svg& s) {
    std::vector<std::pair<std::string, std::string>> rows;
    if (a.app.category == 421) {
        rows = {{"Office PC", "Paired"},    {"Headset BH-208", "Connected"},
                {"Car kit", "Paired"},      {"GPS mouse", "Not in range"},
                {"Anna's phone", "Paired"}, {"Printer", "Not in range"},
                {"Keyboard", "Connected"},  {"Laptop", "Paired"}};
    } else if (a.app.category == 62) {
        rows = {{"Anna K.", "Mobile, 10:42"},
                {"Office", "Work, 09:15"},
                {"+49 30 1234567", "Missed, yesterday"},
                {"Mum", "Home, yesterday"},
                {"Hans P.", "Mobile, Monday"},
                {"Pizza Roma", "Work, Sunday"},
                {"Olga", "Mobile, Sunday"},
                {"Dentist", "Work, Friday"}};
    } else {
        for (const std::string& p : Phrases(a.app.description))
            rows.push_back({p, a.app.name});
        for (const char* extra :
             {"Start with the handset", "Sounds", "Large text", "Help", "About"})
            rows.push_back({extra, a.app.name + " " + std::to_string(a.number)});
        Rows(a, s, rows, true);
        return;
    }
    Rows(a, s, rows, false);
}

void FilesScreen(Area& a, Svg& s) {
    s.Rect(0, 0, a.w, 22, "#e9eef4").Text(8, 15, "\\My Documents", 11, kInk, true);
    const char* names[][2] = {{"Personal", ""},         {"Templates", ""},
                              {"notes.txt", "4 KB"},    {"photo_0042.jpg", "212 KB"},
                              {"backup.zip", "1.2 MB"}, {"report.doc", "56 KB"},
                              {"song.mp3", "3.4 MB"},   {"map.png", "88 KB"}};
    double y = 22;
    for (int i = 0; i < 8 && y + 28 <= a.h; ++i, y += 28) {
        bool folder = names[i][1][0] == '\0';
        if (i == a.number + 1) s.Rect(0, y, a.w, 28, a.style.light);
        if (folder)
            s.Path("M8 " + N(y + 8) + " h7 l2 2 h9 v12 h-18 z", "#f0b429",
                   "stroke='#b7801a' stroke-width='1'");
        else
            s.Path("M10 " + N(y + 6) + " h10 l4 4 v14 h-14 z", "#ffffff",
                   "stroke='" + a.style.main + "' stroke-width='1.2'");
        s.Text(32, y + 18, names[i][0], 12, kInk);
        s.Text(a.w - 8, y + 18, names[i][1], 10, kGrey, false, "end");
        s.Line(0, y + 27.5, a.w, y + 27.5, kLine);
    }
}

void MessagesScreen(Area& a, Svg& s) {
    const char* lines[] = {"Are we still on for tonight?",
                           "Yes! 8 pm at the station.",
                           "Great, I'll bring the tickets.",
                           "Don't forget the umbrella :)",
                           "See you there!",
                           "Running 5 minutes late."};
    double y = 8;
    for (int i = 0; i < 6 && y + 34 < a.h - 34; ++i) {
        bool mine = (i + a.number) % 2 == 1;
        std::string text = lines[i];
        double bw = std::min<double>(a.w - 50, text.size() * 6.4 + 18);
        double x = mine ? a.w - bw - 8 : 8;
        s.Rect(x, y, bw, 26, mine ? a.style.main : "#e6eaef", 10);
        s.Text(x + 9, y + 17, text, 11, mine ? "#ffffff" : kInk);
        y += 34;
    }
    s.Rect(6, a.h - 30, a.w - 12, 24, "#ffffff", 5, "stroke='#8692a3'");
    s.Text(14, a.h - 14, "Write a message...", 11, "#9aa4b1");
}

void DocumentScreen(Area& a, Svg& s) {
    double y = 8;
    bool guide = a.app.category == 52 || a.app.category == 521;
    std::string heading = a.number == 1 ? a.app.name : "Chapter " + std::to_string(a.number);
    s.Text(10, y + 16, heading, 16, a.style.dark, true, "start", "DejaVu Serif");
    y += 26;
    if (guide) {  // a photo of the place
        double ph = std::min(70.0, a.h * 0.3);
        s.Rect(10, y, a.w - 20, ph, a.style.light, 3);
        for (int i = 0; i < 7; ++i) {
            double bx = 14 + i * (a.w - 28) / 7.0, bh = 16 + a.dice.Next(int(ph) - 20);
            s.Rect(bx, y + ph - bh, (a.w - 28) / 7.0 - 3, bh, a.style.dark);
        }
        y += ph + 8;
    }
    std::string text = a.app.description +
                       " Open the menu to change the view, search the text or set a bookmark. "
                       "Everything stays on the handset and works without a connection.";
    for (const std::string& line : Wrap(text, static_cast<size_t>((a.w - 20) / 6.3))) {
        if (y + 16 > a.h) break;
        s.Text(10, y + 12, line, 11, kInk, false, "start", "DejaVu Serif");
        y += 16;
    }
}

void SheetScreen(Area& a, Svg& s) {
    const char* labels[] = {"Rent",  "Food",    "Travel",  "Phone",  "Books", "Sport",
                            "Gifts", "Savings", "Repairs", "Cinema", "Taxes", "Other"};
    int columns = a.w > 260 ? 5 : 4;
    double cw = (a.w - 22) / columns, rh = 18;
    s.Rect(0, 0, a.w, rh, "#e4e9ef");
    for (int c = 0; c < columns; ++c)
        s.Text(22 + c * cw + cw / 2, 13, std::string(1, char('A' + c)), 10, kGrey, true, "middle");
    int rows = static_cast<int>((a.h - rh) / rh) - 1;
    for (int r = 0; r < rows; ++r) {
        double y = rh * (r + 1);
        s.Rect(0, y, 22, rh, "#e4e9ef")
            .Text(11, y + 13, std::to_string(r + 1), 9, kGrey, false, "middle");
        s.Line(22, y + rh - 0.5, a.w, y + rh - 0.5, kLine);
        bool total = r == rows - 1;
        for (int c = 0; c < columns; ++c) {
            std::string value = c == 0 ? (total ? "Total" : labels[r % 12])
                                       : std::to_string(20 + a.dice.Next(900)) + "." +
                                             std::to_string(10 + a.dice.Next(90));
            s.Text(c == 0 ? 26 : 22 + (c + 1) * cw - 4, y + 13, value, 10, kInk, total,
                   c == 0 ? "start" : "end");
        }
    }
    for (int c = 1; c <= columns; ++c)
        s.Line(22 + c * cw - 0.5, 0, 22 + c * cw - 0.5, a.h, kLine);
    int sr = 1 + a.number % 4;
    s.Rect(22 + cw + 0.5, rh * (sr + 1) + 0.5, cw - 1, rh - 1, "none", 0,
           "stroke='" + a.style.main + "' stroke-width='2'");
}

void CalendarScreen(Area& a, Svg& s) {
    const char* months[] = {"September 2009", "October 2009", "November 2009"};
    s.Rect(0, 0, a.w, 26, "#e9eef4");
    s.Text(a.w / 2, 18, months[a.number % 3], 13, kInk, true, "middle");
    s.Text(12, 18, "<", 13, a.style.main, true)
        .Text(a.w - 12, 18, ">", 13, a.style.main, true, "end");
    const char* days = "MTWTFSS";
    double cw = a.w / 7.0, top = 30;
    for (int d = 0; d < 7; ++d)
        s.Text(cw * d + cw / 2, top + 10, std::string(1, days[d]), 10, kGrey, true, "middle");
    double ch = std::min(30.0, (a.h - top - 16) / 6.0);
    int first = 3, today = 14 + a.number;
    for (int i = 0; i < 42; ++i) {
        int day = i - first + 1;
        if (day < 1 || day > 31) continue;
        double x = cw * (i % 7), y = top + 16 + ch * (i / 7);
        if (day == today) s.Rect(x + 2, y + 1, cw - 4, ch - 2, a.style.main, 4);
        s.Text(x + cw / 2, y + ch / 2 + 4, std::to_string(day), 11,
               day == today ? "#ffffff" : (i % 7 >= 5 ? "#c0392b" : kInk), day == today, "middle");
        if (a.dice.Next(5) == 0) s.Circle(x + cw / 2, y + ch - 4, 1.8, a.style.accent);
    }
}

void LettersScreen(Area& a, Svg& s) {
    int n = 8;
    double side = std::min(a.w - 16.0, a.h - 40.0), cell = side / n, x0 = (a.w - side) / 2;
    std::string word;
    for (char c : a.app.name)
        if (std::isalpha(static_cast<unsigned char>(c)) && word.size() < size_t(n))
            word += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    int wordRow = 2 + a.number % 4;
    s.Rect(x0, 6, side, side, "#ffffff", 4, "stroke='#8692a3'");
    s.Rect(x0 + 2, 6 + wordRow * cell + 2, word.size() * cell - 4, cell - 4, a.style.accent,
           cell / 2 - 2);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            char letter =
                r == wordRow && c < int(word.size()) ? word[c] : char('A' + a.dice.Next(26));
            s.Text(x0 + c * cell + cell / 2, 6 + r * cell + cell * 0.68, std::string(1, letter),
                   cell * 0.55, kInk, true, "middle");
        }
    s.Text(10, a.h - 10, "Words: " + std::to_string(3 + a.number) + "/12", 12, kInk, true);
    s.Text(a.w - 10, a.h - 10, "01:3" + std::to_string(a.number), 12, a.style.dark, true, "end");
}

void PuzzleScreen(Area& a, Svg& s) {
    bool mines = Has(a.app, "Mine"), lights = Has(a.app, "Lights");
    int n = mines ? 8 : lights ? 5 : 9;
    double side = std::min(a.w - 16.0, a.h - 36.0), cell = side / n, x0 = (a.w - side) / 2;
    s.Rect(x0, 6, side, side, "#ffffff");
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c) {
            double x = x0 + c * cell, y = 6 + r * cell;
            int roll = a.dice.Next(10);
            if (lights) {
                s.Rect(x + 3, y + 3, cell - 6, cell - 6, roll < 4 ? a.style.accent : a.style.dark,
                       6);
            } else if (mines) {
                bool open = roll < 6;
                s.Rect(x + 0.5, y + 0.5, cell - 1, cell - 1, open ? "#eef1f4" : a.style.light, 1);
                if (open && roll < 3)
                    s.Text(x + cell / 2, y + cell * 0.7, std::to_string(roll + 1), cell * 0.55,
                           roll == 0   ? "#1f5aa6"
                           : roll == 1 ? "#2c8a2a"
                                       : "#c8261c",
                           true, "middle");
                if (!open && roll == 9) s.Circle(x + cell / 2, y + cell / 2, cell / 5, kInk);
            } else if (roll < 4) {
                s.Text(x + cell / 2, y + cell * 0.72, std::to_string(1 + a.dice.Next(9)),
                       cell * 0.6, roll == 0 ? a.style.main : kInk, roll != 0, "middle");
            }
        }
    if (!lights)
        for (int i = 0; i <= n; ++i) {
            double width = !mines && i % 3 == 0 ? 2 : 0.8;
            s.Line(x0 + i * cell, 6, x0 + i * cell, 6 + side, kInk, width);
            s.Line(x0, 6 + i * cell, x0 + side, 6 + i * cell, kInk, width);
        }
    s.Text(10, a.h - 9, "Level " + std::to_string(a.number + 2), 12, kInk, true);
    s.Text(a.w - 10, a.h - 9, "0" + std::to_string(a.number) + ":4" + std::to_string(a.number), 12,
           a.style.dark, true, "end");
}

void ArcadeScreen(Area& a, Svg& s) {
    s.Raw(
        "<defs><linearGradient id='sky' x1='0' y1='0' x2='0' y2='1'><stop offset='0' "
        "stop-color='#050a1a'/><stop offset='1' stop-color='" +
        a.style.edge + "'/></linearGradient></defs>");
    s.Rect(0, 0, a.w, a.h, "url(#sky)");
    for (int i = 0; i < 30; ++i)
        s.Circle(a.dice.Next(a.w), a.dice.Next(a.h), 0.6 + a.dice.Next(3) * 0.4, "#ffffff",
                 "fill-opacity='0.7'");
    if (Has(a.app, "Brick")) {
        double bw = (a.w - 8) / 8.0;
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < 8; ++c)
                if (a.dice.Next(6))
                    s.Rect(4 + c * bw + 1, 24 + r * 12, bw - 2, 10,
                           r % 2 ? a.style.main : a.style.accent, 2);
        s.Circle(a.w * 0.6, a.h * 0.62, 4, "#ffffff");
        s.Rect(a.w * 0.45, a.h - 14, 50, 7, a.style.light, 3.5);
    } else if (Has(a.app, "Maze")) {
        for (int i = 0; i < 14; ++i) {
            double x = 10 + a.dice.Next(a.w - 20), y = 24 + a.dice.Next(a.h - 40);
            bool across = a.dice.Next(2);
            s.Line(x, y, across ? std::min<double>(x + 60, a.w - 8) : x,
                   across ? y : std::min<double>(y + 60, a.h - 8), a.style.light, 5);
        }
        s.Circle(a.w / 2, a.h / 2, 7, a.style.accent, "stroke='#ffffff' stroke-width='1.5'");
    } else {
        for (int i = 0; i < 6; ++i) {
            double r = 6 + a.dice.Next(14);
            s.Circle(10 + a.dice.Next(a.w - 20), 26 + a.dice.Next(int(a.h * 0.55)), r, "#8a7d6b",
                     "stroke='#4a4036' stroke-width='1.5'");
        }
        double px = a.w / 2, py = a.h - 22;
        s.Path("M" + N(px) + " " + N(py - 16) + " l10 20 l-10 -5 l-10 5 z", a.style.light,
               "stroke='#ffffff' stroke-width='1'");
        s.Line(px, py - 24, px, py - 44, a.style.accent, 2);
    }
    s.Text(8, 15, "SCORE " + std::to_string(1000 + a.dice.Next(9000)), 11, "#ffffff", true, "start",
           "DejaVu Sans Mono");
    for (int i = 0; i < 3; ++i)
        s.Circle(a.w - 12 - i * 12, 10, 4, a.style.accent);
}

void RacingScreen(Area& a, Svg& s) {
    double horizon = a.h * 0.35;
    s.Rect(0, 0, a.w, horizon, "#8cc6ef").Rect(0, horizon, a.w, a.h - horizon, "#5f9e3c");
    s.Path("M0 " + N(horizon) + " l" + N(a.w * 0.25) + " -18 l" + N(a.w * 0.2) + " 12 l" +
               N(a.w * 0.3) + " -22 l" + N(a.w * 0.25) + " 28 z",
           "#7d8fa3");
    double cx = a.w / 2 + (a.number % 2 ? 12 : -10);
    s.Path("M" + N(cx - 8) + " " + N(horizon) + " L" + N(cx + 8) + " " + N(horizon) + " L" +
               N(a.w * 0.95) + " " + N(a.h) + " L" + N(a.w * 0.05) + " " + N(a.h) + " Z",
           "#4b4f57");
    for (int i = 0; i < 5; ++i) {
        double t0 = 0.1 + i * 0.2, t1 = t0 + 0.1;
        double y0 = horizon + (a.h - horizon) * t0 * t0, y1 = horizon + (a.h - horizon) * t1 * t1;
        s.Line(cx + (a.w / 2 - cx) * t0 * t0, y0, cx + (a.w / 2 - cx) * t1 * t1, y1, "#ffffff",
               1 + 4 * t1);
    }
    double carX = a.w / 2 - 24, carY = a.h - 44;
    s.Rect(carX, carY + 10, 48, 24, a.style.main, 6, "stroke='" + a.style.edge + "'");
    s.Rect(carX + 8, carY, 32, 16, a.style.dark, 5).Rect(carX + 11, carY + 3, 26, 8, "#bfe0f7", 2);
    s.Rect(carX - 3, carY + 26, 10, 10, "#111111", 2)
        .Rect(carX + 41, carY + 26, 10, 10, "#111111", 2);
    s.Text(8, 16, std::to_string(96 + a.dice.Next(120)) + " km/h", 13, "#ffffff", true);
    s.Text(a.w - 8, 16, "LAP " + std::to_string(1 + a.number % 3) + "/3", 13, "#ffffff", true,
           "end");
}

void Card(Svg& s, double x, double y, const std::string& rank, int suit) {
    static const char* suits[] = {"\u2660", "\u2665", "\u2666", "\u2663"};
    std::string colour = suit == 1 || suit == 2 ? "#c8261c" : "#1e2530";
    s.Rect(x, y, 30, 42, "#ffffff", 3, "stroke='#5b6675' stroke-width='0.8'");
    s.Text(x + 4, y + 12, rank, 10, colour, true);
    s.Text(x + 15, y + 32, suits[suit], 15, colour, false, "middle");
}

void CardsScreen(Area& a, Svg& s) {
    s.Raw(
        "<defs><radialGradient id='felt'><stop offset='0' stop-color='#2f8a4a'/><stop "
        "offset='1' stop-color='#1a5a2f'/></radialGradient></defs>");
    s.Rect(0, 0, a.w, a.h, "url(#felt)");
    const char* ranks[] = {"A", "2", "3", "4", "5", "6", "7", "8", "9", "10", "J", "Q", "K"};
    int piles = std::min(7, static_cast<int>((a.w - 8) / 33));
    s.Rect(6, 6, 30, 42, a.style.dark, 3, "stroke='#ffffff' stroke-width='1.5'");
    for (int i = 0; i < 4; ++i)
        s.Rect(a.w - 6 - 33 * (4 - i) + 3, 6, 30, 42, "none", 3,
               "stroke='#ffffff' stroke-opacity='0.45'");
    for (int p = 0; p < piles; ++p) {
        double x = 6 + p * 33;
        int hidden = p, shown = 1 + a.dice.Next(3);
        for (int k = 0; k < hidden; ++k)
            s.Rect(x, 58 + k * 6, 30, 42, a.style.dark, 3, "stroke='#ffffff' stroke-width='0.8'");
        for (int k = 0; k < shown && 58 + (hidden + k) * 14 + 42 < a.h; ++k)
            Card(s, x, 58 + hidden * 6 + k * 14, ranks[a.dice.Next(13)], a.dice.Next(4));
    }
}

void BoardScreen(Area& a, Svg& s) {
    double side = std::min(a.w - 12.0, a.h - 12.0), x0 = (a.w - side) / 2, y0 = 6;
    if (Has(a.app, "Go")) {
        s.Rect(x0, y0, side, side, "#dcb46a", 3);
        int n = 9;
        double cell = side / (n + 1);
        for (int i = 1; i <= n; ++i) {
            s.Line(x0 + cell, y0 + i * cell, x0 + n * cell, y0 + i * cell, "#5a4220", 0.8);
            s.Line(x0 + i * cell, y0 + cell, x0 + i * cell, y0 + n * cell, "#5a4220", 0.8);
        }
        for (int k = 0; k < 18; ++k)
            s.Circle(x0 + (1 + a.dice.Next(n)) * cell, y0 + (1 + a.dice.Next(n)) * cell,
                     cell * 0.45, k % 2 ? "#ffffff" : "#111111",
                     "stroke='#333333' stroke-width='0.6'");
        return;
    }
    double cell = side / 8;
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c)
            s.Rect(x0 + c * cell, y0 + r * cell, cell, cell,
                   (r + c) % 2 ? a.style.light : "#f6eedd");
    bool chess = Has(a.app, "Chess");
    const char* back[] = {"\u265C", "\u265E", "\u265D", "\u265B",
                          "\u265A", "\u265D", "\u265E", "\u265C"};
    for (int c = 0; c < 8; ++c)
        for (int side2 = 0; side2 < 2; ++side2) {
            std::string fill = side2 ? "#ffffff" : "#111111";
            for (int row = 0; row < 2; ++row) {
                double y = side2 ? y0 + (7 - row) * cell : y0 + row * cell;
                if (a.dice.Next(6) == 0) continue;
                if (chess)
                    s.Text(x0 + c * cell + cell / 2, y + cell * 0.8, row == 0 ? back[c] : "\u265F",
                           cell * 0.8, fill, false, "middle", "DejaVu Sans",
                           side2 ? "stroke='#111111' stroke-width='0.6'" : "");
                else if ((c + row) % 2 == (side2 ? 0 : 1))
                    s.Circle(x0 + c * cell + cell / 2, y + cell / 2, cell * 0.38, fill,
                             "stroke='#555555'");
            }
        }
}

void PlayerScreen(Area& a, Svg& s) {
    const char* tracks[][2] = {{"Morning Walk", "The Lanterns"},
                               {"Blue Harbour", "Nora Vale"},
                               {"City Lights", "Kestrel Five"}};
    const auto& track = tracks[(a.number + a.style.seed) % 3];
    bool wide = a.w > a.h;
    double art = wide ? a.h - 24 : std::min(a.w - 60.0, a.h - 150.0);
    double ax = wide ? 12 : (a.w - art) / 2, ay = 10;
    s.Raw(
        "<defs><linearGradient id='art' x1='0' y1='0' x2='1' y2='1'><stop offset='0' "
        "stop-color='" +
        a.style.light + "'/><stop offset='1' stop-color='" + a.style.edge +
        "'/></linearGradient></defs>");
    s.Rect(ax, ay, art, art, "url(#art)", 4);
    if (Has(a.app, "Radio"))
        s.Text(ax + art / 2, ay + art / 2 + 8, "98.4", art * 0.28, "#ffffff", true, "middle");
    else
        s.Text(ax + art / 2, ay + art * 0.68, "\u266B", art * 0.55, "#ffffff", false, "middle");
    double tx = wide ? ax + art + 14 : 12, ty = wide ? 30 : ay + art + 22;
    double tw = wide ? a.w - tx - 12 : a.w - 24;
    s.Text(tx, ty, track[0], 14, kInk, true).Text(tx, ty + 18, track[1], 11, kGrey);
    s.Rect(tx, ty + 30, tw, 5, "#d3d9e0", 2.5)
        .Rect(tx, ty + 30, tw * (0.2 + 0.2 * a.number), 5, a.style.main, 2.5);
    s.Text(tx, ty + 48, "1:2" + std::to_string(a.number), 10, kGrey);
    s.Text(tx + tw, ty + 48, "3:58", 10, kGrey, false, "end");
    double cy = ty + 74, cx = tx + tw / 2;
    s.Circle(cx, cy, 16, a.style.main)
        .Path("M" + N(cx - 5) + " " + N(cy - 8) + " l13 8 l-13 8 z", "#ffffff");
    s.Path("M" + N(cx - 34) + " " + N(cy) + " l10 -7 v14 z M" + N(cx - 44) + " " + N(cy) +
               " l10 -7 v14 z",
           kInk);
    s.Path("M" + N(cx + 34) + " " + N(cy) + " l-10 -7 v14 z M" + N(cx + 44) + " " + N(cy) +
               " l-10 -7 v14 z",
           kInk);
}

void InstrumentScreen(Area& a, Svg& s) {
    if (Has(a.app, "Drum")) {
        double pad = std::min((a.w - 16) / 3.0, (a.h - 16) / 3.0);
        double x0 = (a.w - pad * 3) / 2;
        for (int i = 0; i < 9; ++i)
            s.Rect(x0 + (i % 3) * pad + 3, 8 + (i / 3) * pad + 3, pad - 6, pad - 6,
                   i == a.number + 3 ? a.style.accent : a.style.dark, 8,
                   "stroke='" + a.style.edge + "' stroke-width='1.5'");
        return;
    }
    if (Has(a.app, "Tuner")) {
        double cx = a.w / 2, cy = a.h * 0.6, r = std::min(a.w * 0.42, a.h * 0.5);
        s.Path("M" + N(cx - r) + " " + N(cy) + " A" + N(r) + " " + N(r) + " 0 0 1 " + N(cx + r) +
                   " " + N(cy),
               "none", "stroke='" + a.style.main + "' stroke-width='6'");
        s.Line(cx, cy, cx + r * 0.3, cy - r * 0.9, "#c8261c", 2.5).Circle(cx, cy, 6, kInk);
        s.Text(cx, cy + 30, "A  440 Hz", 16, kInk, true, "middle");
        return;
    }
    s.Rect(8, 8, a.w - 16, 40, "#11161d", 4);
    s.Text(16, 34, "C4", 18, "#7fe07f", true, "start", "DejaVu Sans Mono");
    s.Path("M60 28 q10 -14 20 0 t20 0 t20 0 t20 0 t20 0", "none",
           "stroke='#7fe07f' stroke-width='1.5'");
    int keys = a.w > a.h ? 14 : 10;
    double kw = (a.w - 8) / keys, ky = 60, kh = a.h - ky - 6;
    for (int k = 0; k < keys; ++k)
        s.Rect(4 + k * kw, ky, kw - 1, kh, k == a.number + 2 ? a.style.light : "#ffffff", 2,
               "stroke='#5b6675'");
    for (int k = 0; k < keys - 1; ++k)
        if (k % 7 != 2 && k % 7 != 6)
            s.Rect(4 + (k + 1) * kw - kw * 0.3, ky, kw * 0.6, kh * 0.6, "#1e2530", 2);
}

void PhotoScreen(Area& a, Svg& s) {
    double ph = a.h - 40;
    s.Raw(
        "<defs><linearGradient id='sky' x1='0' y1='0' x2='0' y2='1'><stop offset='0' "
        "stop-color='#6fb3e8'/><stop offset='1' stop-color='#f6d7a8'/></linearGradient></defs>");
    s.Rect(0, 0, a.w, ph, "url(#sky)")
        .Circle(a.w * (0.3 + 0.2 * a.number), ph * 0.3, 14, "#ffe27a");
    s.Path("M0 " + N(ph * 0.75) + " L" + N(a.w * 0.3) + " " + N(ph * 0.4) + " L" + N(a.w * 0.5) +
               " " + N(ph * 0.62) + " L" + N(a.w * 0.72) + " " + N(ph * 0.35) + " L" + N(a.w) +
               " " + N(ph * 0.7) + " V" + N(ph) + " H0 Z",
           "#5b7a5a");
    s.Rect(0, ph * 0.85, a.w, ph * 0.15, "#3f6f9a");
    if (a.app.category == 321) {  // a viewfinder
        double m = 24;
        std::string st = "stroke='#ffffff' stroke-width='2'";
        s.Path("M" + N(m) + " " + N(m + 14) + " v-14 h14 M" + N(a.w - m - 14) + " " + N(m) +
                   " h14 v14 M" + N(m) + " " + N(ph - m - 14) + " v14 h14 M" + N(a.w - m - 14) +
                   " " + N(ph - m) + " h14 v-14",
               "none", st);
        s.Rect(a.w / 2 - 16, ph / 2 - 12, 32, 24, "none", 0, "stroke='#7fe07f' stroke-width='1.5'");
    }
    s.Rect(0, ph, a.w, 40, "#1e2530");
    for (int i = 0; i < 5; ++i)
        s.Rect(8 + i * 40, ph + 6, 34, 28, i == a.number ? a.style.accent : a.style.dark, 3);
}

void MetersScreen(Area& a, Svg& s) {
    bool battery = a.app.category == 412;
    int level = 35 + a.dice.Next(60);
    if (battery) {
        double bw = std::min(a.w * 0.6, 150.0), bx = (a.w - bw) / 2;
        s.Rect(bx, 14, bw, 50, "#ffffff", 6, "stroke='" + a.style.edge + "' stroke-width='2.5'");
        s.Rect(bx + bw, 30, 6, 18, a.style.edge, 2);
        s.Rect(bx + 5, 19, (bw - 10) * level / 100.0, 40, a.style.main, 3);
        s.Text(a.w / 2, 47, std::to_string(level) + "%", 16, kInk, true, "middle");
    } else {
        std::string d = "M8 64";
        for (int i = 0; i <= 20; ++i)
            d += " L" + N(8 + i * (a.w - 16) / 20.0) + " " + N(64 - 8 - a.dice.Next(44));
        s.Rect(8, 10, a.w - 16, 56, "#ffffff", 3, "stroke='#c5cdd6'");
        s.Path(d + " V64 Z", a.style.light, "fill-opacity='0.6'");
        s.Path(d, "none", "stroke='" + a.style.main + "' stroke-width='1.8'");
    }
    const char* labels[] = {battery ? "Program memory" : "Signal", battery ? "Storage" : "Received",
                            battery ? "Storage card" : "Sent", battery ? "Backlight" : "Speed"};
    double y = 84;
    for (int i = 0; i < 4 && y + 30 <= a.h; ++i, y += 32) {
        int value = 10 + a.dice.Next(85);
        s.Text(10, y, labels[i], 11, kInk, true);
        s.Text(a.w - 10, y, std::to_string(value) + "%", 11, kGrey, false, "end");
        s.Rect(10, y + 6, a.w - 20, 9, "#dfe4ea", 4.5);
        s.Rect(10, y + 6, (a.w - 20) * value / 100.0, 9, i % 2 ? a.style.main : a.style.dark, 4.5);
    }
}

void MapScreen(Area& a, Svg& s) {
    s.Rect(0, 0, a.w, a.h, "#eef0e4");
    if (Has(a.app, "Compass")) {
        double cx = a.w / 2, cy = a.h / 2, r = std::min(a.w, a.h) * 0.4;
        s.Circle(cx, cy, r, "#ffffff", "stroke='" + a.style.edge + "' stroke-width='3'");
        for (int i = 0; i < 4; ++i)
            s.Text(cx + std::sin(i * M_PI / 2) * (r - 14),
                   cy - std::cos(i * M_PI / 2) * (r - 14) + 5, std::string(1, "NESW"[i]), 14,
                   i == 0 ? "#c8261c" : kInk, true, "middle");
        s.Path("M" + N(cx) + " " + N(cy - r * 0.7) + " l8 " + N(r * 0.7) + " h-16 z", "#c8261c");
        s.Path("M" + N(cx) + " " + N(cy + r * 0.7) + " l8 " + N(-r * 0.7) + " h-16 z", "#9aa4b1");
        return;
    }
    s.Path("M" + N(a.w * 0.6) + " 0 C" + N(a.w * 0.4) + " " + N(a.h * 0.3) + " " + N(a.w * 0.9) +
               " " + N(a.h * 0.6) + " " + N(a.w * 0.55) + " " + N(a.h),
           "none", "stroke='#9cc7ea' stroke-width='14'");
    s.Rect(a.w * 0.08, a.h * 0.55, a.w * 0.3, a.h * 0.2, "#c4e0a8", 8);
    for (int i = 0; i < 6; ++i) {
        double x = 10 + a.dice.Next(a.w - 20), y = 10 + a.dice.Next(a.h - 20);
        s.Line(x, 0, x + a.dice.Next(40) - 20, a.h, "#ffffff", i < 2 ? 7 : 4);
        s.Line(0, y, a.w, y + a.dice.Next(40) - 20, "#ffffff", i < 2 ? 7 : 4);
    }
    if (Has(a.app, "Trail") || a.number > 1) {
        std::string d = "M" + N(a.w * 0.2) + " " + N(a.h * 0.85);
        for (int i = 1; i < 6; ++i)
            d += " L" + N(a.w * (0.2 + 0.12 * i)) + " " +
                 N(a.h * (0.85 - 0.13 * i) + a.dice.Next(20));
        s.Path(d, "none", "stroke='" + a.style.main + "' stroke-width='3' stroke-dasharray='6 3'");
    }
    double px = a.w * 0.55, py = a.h * 0.42;
    s.Path(
        "M" + N(px) + " " + N(py) + " c-4 -8 -10 -12 -10 -19 a10 10 0 0 1 20 0 c0 7 -6 11 -10 19 z",
        "#c8261c", "stroke='#7a130d'");
    s.Circle(px, py - 19, 3.5, "#ffffff");
    s.Rect(px + 14, py - 34, 92, 20, "#ffffff", 4, "stroke='#9aa4b1'");
    s.Text(px + 20, py - 20, "You are here", 11, kInk, true);
    s.Rect(a.w - 34, a.h - 60, 26, 52, "#ffffff", 4, "stroke='#9aa4b1'");
    s.Text(a.w - 21, a.h - 40, "+", 16, kInk, true, "middle");
    s.Text(a.w - 21, a.h - 15, "\u2212", 16, kInk, true, "middle");
}

}  // namespace

std::pair<std::string, std::string> SoftKeys(ScreenKind kind) {
    switch (kind) {
        case ScreenKind::Letters:
        case ScreenKind::Puzzle:
        case ScreenKind::Arcade:
        case ScreenKind::Racing:
        case ScreenKind::Cards:
        case ScreenKind::Board:
            return {"Pause", "Menu"};
        case ScreenKind::Player:
        case ScreenKind::Instrument:
            return {"Library", "Menu"};
        case ScreenKind::Photo:
            return {"Capture", "Menu"};
        case ScreenKind::Messages:
            return {"Send", "Menu"};
        case ScreenKind::Document:
        case ScreenKind::Sheet:
            return {"Edit", "Menu"};
        case ScreenKind::Calendar:
            return {"New", "Menu"};
        case ScreenKind::Map:
            return {"Find", "Menu"};
        default:
            return {"Open", "Menu"};
    }
}

std::string ScreenBody(const PictureStyle& style, const AppEntry& app, int number, int w, int h) {
    Area area{style, app, number,
              w,     h,   Dice(style.seed ^ (static_cast<uint32_t>(number) * 2654435761u))};
    Svg svg;
    switch (style.kind) {
        case ScreenKind::Files:
            FilesScreen(area, svg);
            break;
        case ScreenKind::Messages:
            MessagesScreen(area, svg);
            break;
        case ScreenKind::Document:
            DocumentScreen(area, svg);
            break;
        case ScreenKind::Sheet:
            SheetScreen(area, svg);
            break;
        case ScreenKind::Calendar:
            CalendarScreen(area, svg);
            break;
        case ScreenKind::Letters:
            LettersScreen(area, svg);
            break;
        case ScreenKind::Puzzle:
            PuzzleScreen(area, svg);
            break;
        case ScreenKind::Arcade:
            ArcadeScreen(area, svg);
            break;
        case ScreenKind::Racing:
            RacingScreen(area, svg);
            break;
        case ScreenKind::Cards:
            CardsScreen(area, svg);
            break;
        case ScreenKind::Board:
            BoardScreen(area, svg);
            break;
        case ScreenKind::Player:
            PlayerScreen(area, svg);
            break;
        case ScreenKind::Instrument:
            InstrumentScreen(area, svg);
            break;
        case ScreenKind::Photo:
            PhotoScreen(area, svg);
            break;
        case ScreenKind::Meters:
            MetersScreen(area, svg);
            break;
        case ScreenKind::Map:
            MapScreen(area, svg);
            break;
        default:
            ListScreen(area, svg);
            break;
    }
    return svg.Str();
}

}  // namespace zentri::server::assets
