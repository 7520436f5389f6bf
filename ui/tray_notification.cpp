#include "ui/tray_notification.h"

namespace xiuhe {
namespace {

constexpr unsigned kContextMenu = 0x007B, kLeftUp = 0x0202, kLeftDoubleClick = 0x0203, kRightUp = 0x0205;

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace

int TrayEventArgument(unsigned mouseMessage) {
  switch (mouseMessage) {
    case kLeftUp: return 1;
    case kLeftDoubleClick: return 2;
    case kRightUp:
    case kContextMenu: return 3;
    default: return 0;
  }
}

Text CutTrayTip(const Text& tip) {
  std::size_t end = 0;
  while (end < tip.size()) {
    std::size_t next = end + (IsLeadByte(static_cast<unsigned char>(tip[end])) ? 2 : 1);
    if (next > static_cast<std::size_t>(kTrayTipLimit) || next > tip.size()) break;
    end = next;
  }
  return tip.substr(0, end);
}

}  // namespace xiuhe
