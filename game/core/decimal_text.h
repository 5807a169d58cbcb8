#pragma once
// Numbers as the game's messages show them with "two decimals": rounded to
// two decimals (halves away from zero), trailing zeros and a bare point
// dropped, so 1 reads "1", 0 reads "0", 7.5 reads "7.5" and 1.005 reads
// "1.01". A value that is not finite reads "0".

#include <string>

std::string TwoDecimalsText(double value);
