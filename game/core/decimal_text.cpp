#include "core/decimal_text.h"

#include <cmath>
#include <cstdio>

std::string TwoDecimalsText(double value) {
    if (!std::isfinite(value)) return "0";
    // Rounded in hundredths first, so 1.005 (stored as 1.00499..) and -0.001
    // come out as a person reading the value expects.
    double hundredths = std::round(value * 100.0 + (value >= 0 ? 1e-9 : -1e-9));
    if (hundredths == 0 || !std::isfinite(hundredths)) return "0";
    char buffer[400];  // room for the widest double in fixed notation
    std::snprintf(buffer, sizeof buffer, "%.2f", hundredths / 100.0);
    std::string text = buffer;
    while (!text.empty() && text.back() == '0') text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}
