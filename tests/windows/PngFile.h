// A minimal PNG encoder for the screenshots of the dialogs: 8-bit RGB, no row filter, the
// image data as a zlib stream of stored (uncompressed) deflate blocks.
#pragma once

#include <cstdint>
#include <vector>

namespace sendnote::windows::test {

class PngFile {
 public:
  // `rgb` holds `height` rows of `width` * 3 bytes, the top row first.
  static std::vector<uint8_t> Encode(uint32_t width, uint32_t height,
                                     const std::vector<uint8_t>& rgb);
};

}  // namespace sendnote::windows::test
