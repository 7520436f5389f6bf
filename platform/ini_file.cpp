#include "platform/ini_file.h"

namespace xiuhe {

// Placeholder until the engine lands.
Text ReadIniValue(FileAccess&, const Text&, const Text&, const Text&, const Text& defaultValue) {
  return defaultValue;
}
bool WriteIniValue(FileAccess&, const Text&, const Text&, const Text&, const Text&) { return false; }

}  // namespace xiuhe
