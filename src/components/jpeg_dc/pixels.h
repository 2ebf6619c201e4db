#pragma once

#include <cstddef>
#include <cstdint>

#include "components/jpeg_dc/layout.h"

namespace tovak::jpeg_dc::detail {

// Writes the pixels (QImage RGB32) of MCU rows [rowBegin, rowEnd) from the blocks' DC
// coefficients, blocksPerMcu an MCU, and for 4:2:0 chroma the detail of each sample, 8 an MCU
// (see ChromaDetail), as libjpeg's eighth-scale inverse DCT and colour conversion would. False
// when a 4:2:0 chroma sample lies where libjpeg-turbo's own results depend on how it was built.
bool Convert(const Layout& layout, const uint16_t* values, const int32_t* detail, uint8_t* bits,
             size_t stride, int rowBegin, int rowEnd);

}  // namespace tovak::jpeg_dc::detail
