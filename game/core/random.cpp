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
    std::mt19937 engine;
    std::istringstream in(text);
    in >> engine;
    if (in.fail()) return false;
    m_engine = engine;
    return true;
}
