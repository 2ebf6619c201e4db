#pragma once

#include <cstdint>
#include <vector>

namespace tovak::reference {

// A plain, unoptimised transcription of the classic LZHUF coder, kept apart from the product code
// as an oracle for its output and a baseline for its speed.
std::vector<uint8_t> LzhEncode(const std::vector<uint8_t>& input);
std::vector<uint8_t> LzhDecode(const std::vector<uint8_t>& input, int32_t size);

}  // namespace tovak::reference
