#include "support/libjpeg_writer.h"

// jpeglib.h needs size_t and FILE declared first.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
// clang-format off
#include <jpeglib.h>
// clang-format on

namespace tovak::testing {

std::vector<uint8_t> EncodeWithLibjpeg(const QImage& image, const LibjpegOptions& o) {
  jpeg_compress_struct c;
  jpeg_error_mgr error;
  c.err = jpeg_std_error(&error);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = image.width();
  c.image_height = image.height();
  c.input_components = o.components;
  c.in_color_space = o.components == 1 ? JCS_GRAYSCALE : o.components == 4 ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, o.quality, TRUE);
  if (o.rgb) jpeg_set_colorspace(&c, JCS_RGB);
  if (o.ycck) jpeg_set_colorspace(&c, JCS_YCCK);
  if (o.components == 3) {
    c.comp_info[0].h_samp_factor = o.h;
    c.comp_info[0].v_samp_factor = o.v;
    for (int i = 1; i < 3; ++i) {
      c.comp_info[i].h_samp_factor = o.chromaH;
      c.comp_info[i].v_samp_factor = o.chromaV;
    }
  }
  c.restart_interval = o.restartInterval;
  c.optimize_coding = o.optimize;
  c.arith_code = o.arithmetic;
  if (o.progressive) jpeg_simple_progression(&c);
  jpeg_scan_info scans[4];
  if (o.separateScans) {
    for (int i = 0; i < o.components; ++i) {
      scans[i] = {1, {i, 0, 0, 0}, 0, 63, 0, 0};
    }
    c.scan_info = scans;
    c.num_scans = o.components;
  }
  jpeg_start_compress(&c, TRUE);
  for (const auto& [marker, contents] : o.markers) {
    jpeg_write_marker(&c, marker, contents.data(), unsigned(contents.size()));
  }
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  std::vector<uint8_t> row(size_t(image.width()) * o.components);
  while (c.next_scanline < c.image_height) {
    const uint8_t* px = rgb.constScanLine(int(c.next_scanline));
    for (int x = 0; x < image.width(); ++x, px += 3) {
      if (o.components == 1) {
        row[x] = uint8_t((px[0] * 3 + px[1] * 5 + px[2] * 2) / 10);
      } else if (o.ink) {
        const int k = 255 - std::max({px[0], px[1], px[2]});
        uint8_t* ink = &row[size_t(x) * 4];
        for (int i = 0; i < 3; ++i) {
          const int c = k == 255 ? 0 : (255 - px[i] - k) * 255 / (255 - k);
          ink[i] = uint8_t(255 - c);
        }
        ink[3] = uint8_t(255 - k);
      } else {
        for (int k = 0; k < o.components; ++k) row[size_t(x) * o.components + k] = px[k % 3];
      }
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::vector<uint8_t> bytes(out, out + size);
  std::free(out);
  return bytes;
}

}  // namespace tovak::testing
