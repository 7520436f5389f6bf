#pragma once
#include <cstddef>
#include <string_view>

namespace xiuhe {

// A run of bytes held by the program for its whole life.
struct ByteBlock {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
  bool empty() const { return size == 0; }
};

struct EmbeddedAsset {
  const char* fileName;  // nullptr ends the table
  ByteBlock bytes;
};
extern const EmbeddedAsset kEmbeddedAssets[];

// The bytes of an asset file compiled into the program ("tune1.mid", "close.png", ...);
// an empty block when the program holds no such file.
ByteBlock AssetBytes(std::string_view fileName);

}  // namespace xiuhe
