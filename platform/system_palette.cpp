// GetSystemPaletteEntries: the colours behind the system palette slots that
// 8-bit pixels name.
#include "platform/display_state.h"

using namespace kelplatform;

UINT GetSystemPaletteEntries(HDC dcHandle, UINT start, UINT count, PALETTEENTRY* entries) {
  Display& d = display();
  std::lock_guard guard(d.lock);
  if (d.deviceContext(dcHandle) == nullptr) {
    setLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  // Only an 8-bit display has a system palette.
  if (d.depth != 8) return 0;
  if (entries == nullptr) return static_cast<UINT>(d.systemPalette.size());
  if (start >= d.systemPalette.size()) return 0;
  const UINT available = static_cast<UINT>(d.systemPalette.size()) - start;
  const UINT copied = count < available ? count : available;
  for (UINT i = 0; i < copied; ++i) {
    const uint32_t rgb = d.systemPalette[start + i];
    entries[i] = PALETTEENTRY{static_cast<BYTE>(rgb >> 16), static_cast<BYTE>(rgb >> 8), static_cast<BYTE>(rgb), 0};
  }
  return copied;
}
