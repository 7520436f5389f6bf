#include "assets/assets.h"

namespace xiuhe {

ByteBlock AssetBytes(std::string_view fileName) {
  for (const EmbeddedAsset* asset = kEmbeddedAssets; asset->fileName; ++asset)
    if (fileName == asset->fileName) return asset->bytes;
  return {};
}

}  // namespace xiuhe
