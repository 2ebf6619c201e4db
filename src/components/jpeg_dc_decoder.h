#pragma once

#include <QImage>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace tovak {

// Decodes a JPEG at an eighth of its size (one pixel a block, rounded up) the way libjpeg-turbo
// does, to the bit, but several times faster: it reads no more of each block than that scale
// needs (the DC coefficient, and for 4:2:0 chroma the few AC terms of its 2x2 inverse DCT), and
// shares the entropy-coded data between two threads.
//
// Handles 8-bit sequential Huffman-coded streams whose single scan holds every component: grey,
// or YCbCr with chroma sampled 4:4:4, 4:2:2, 4:4:0 or 4:2:0. Returns a null image for every
// other stream, and for any stream that is not entirely clean (damaged, cut short, stray
// markers, odd tables): the full decoder then decides whether that is an error or a harmless
// oddity, as it always has. Never reads outside [data, data + size).
//
// splitAt is where, as a fraction of the entropy-coded data, the second thread starts; outside
// (0, 1) the calling thread decodes everything alone. By default small streams are decoded on
// one thread and others split in the middle. The result never depends on it. When shared is
// given, it tells whether the second thread's work went into the picture.
QImage DecodeJpegDcOnly(const uint8_t* data, size_t size,
                        std::optional<double> splitAt = std::nullopt, bool* shared = nullptr);

}  // namespace tovak
