#pragma once
// A check for pointers that come in window messages: any program on the desktop can post a
// WM_POWERBROADCAST or a WM_DPICHANGED whose lParam points anywhere.
#include <windows.h>

#include <cstddef>

namespace lumenor::platform {

// Whether `size` bytes at `address` are committed, readable memory of this process.
inline bool Readable(const void* address, std::size_t size) {
  MEMORY_BASIC_INFORMATION region{};
  if (address == nullptr || VirtualQuery(address, &region, sizeof region) == 0) return false;
  constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  if (region.State != MEM_COMMIT || (region.Protect & kReadable) == 0 ||
      (region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0)
    return false;
  const auto* begin = static_cast<const char*>(address);
  const auto* end = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
  return begin + size <= end;
}

}  // namespace lumenor::platform
