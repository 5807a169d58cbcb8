#pragma once
// Contact sheets: many generated pictures laid out on one picture over
// grass, sky and stone stripes, for looking at the art at game scale.

#include <string>
#include <vector>

namespace contentgen {

// Each row is a list of PNG files drawn side by side at `scale`.
// Returns false when the sheet cannot be written.
bool WriteContactSheet(const std::vector<std::vector<std::string>>& rows, const std::string& outPng, double scale);

}  // namespace contentgen
