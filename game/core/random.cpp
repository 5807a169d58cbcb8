#include "core/random.h"

#include <chrono>
#include <sstream>
#include <utility>

int Random::Int(int a, int b) {
    if (a > b) std::swap(a, b);
    return std::uniform_int_distribution<int>(a, b)(m_engine);
}

double Random::Unit() { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine); }

std::uint32_t Random::ClockSeed() {
    auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(now ^ (now >> 32));
}

std::string Random::State() const {
    std::ostringstream out;
    out << m_engine;
    return out.str();
}

bool Random::SetState(const std::string& text) {
    // The generator's own reader takes any number that fits its (64-bit)
    // words and any position, and a state of zeros: words past 32 bits make
    // it draw numbers beyond its range (a draw of [a, b] then falls outside
    // it), and a zero state draws 0 for ever (a draw of [0, 2] then never
    // ends). Only what State() can write is taken: n words of 32 bits, a
    // position 0..n, and not all of the state's bits zero.
    constexpr std::size_t n = std::mt19937::state_size;
    std::istringstream in(text);
    std::ostringstream checked;
    bool zero = true;
    for (std::size_t i = 0; i <= n; ++i) {
        unsigned long long word = 0;
        if (!(in >> word)) return false;
        if (i < n && word > 0xFFFFFFFFull) return false;
        if (i == n && word > n) return false;
        // Only the top bit of the first word takes part in the sequence.
        if (i < n && (i == 0 ? (word & 0x80000000ull) != 0 : word != 0)) zero = false;
        checked << word << (i < n ? " " : "");
    }
    in >> std::ws;
    if (!in.eof() || zero) return false;
    std::mt19937 engine;
    std::istringstream words(checked.str());
    words >> engine;
    if (words.fail()) return false;
    m_engine = engine;
    return true;
}
