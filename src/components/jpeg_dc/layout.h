#pragma once

#include <cstddef>
#include <cstdint>

#include "components/jpeg_dc/huffman_tables.h"

namespace tovak::jpeg_dc::detail {

// The shape of the scan, and what each block of an MCU is decoded with.
struct Layout {
  int blocksPerMcu = 1;
  int mcusX = 0, mcusY = 0;
  size_t mcus = 0, blocks = 0;
  int restartInterval = 0;
  int components = 1;
  int hY = 1, vY = 1;         // luma blocks across and down an MCU
  int width = 0, height = 0;  // of the picture at an eighth
  int quant[3] = {};          // each component's DC quantiser
  const int16_t* quantTable[3] = {};
  int lumaBlocks = 1;
  bool chromaDetail = false;  // 4:2:0: chroma blocks are decoded in full, see ChromaDetail
  const DcTable* dc[6] = {};
  const AcTable* ac[6] = {};
  uint8_t component[6] = {};  // of each block in an MCU
};

}  // namespace tovak::jpeg_dc::detail
