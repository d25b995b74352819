// A simulated monitor behind dxva2's documented physical-monitor calls, built as dxva2.dll for the
// desktop scenarios: the test installs it in the prefix's system directory, where the program's
// LoadLibraryExW(L"dxva2.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32) finds it (Wine's own dxva2
// answers every call with error 120). Each display's monitor is set up by the scenario before the
// program starts, in C:\lumenor-monitor\DISPLAYn.ini, section [monitor]:
//   level, maximum     the backlight's level and the maximum it reports (80, 100)
//   physical           physical monitors offered for the display; 0: none (1)
//   ddc                0: every VCP call fails, as a monitor without DDC/CI (1)
//   no_ddc_at          the physical monitor at this place (1 for the first) has no DDC/CI, as a
//                      laptop panel beside an external monitor in clone mode; 0: none (0)
//   ignore_writes      1: SetVCPFeature answers yes and keeps the level (0)
//   fail_reads, fail_writes   the first N reads or writes fail with an I2C error (0)
//   null_handles       the first N GetPhysicalMonitorsFromHMONITOR give null handles (0)
//   block_ms, block_call, block_at   the block_at-th call of kind block_call (read or write)
//                      blocks for block_ms before it answers (0, write, 1)
//   read_ms, write_ms  each call's time (40, 50)
// Windows destroys physical-monitor handles at a mode change, a monitor switched off and on, and
// across sleep. A scenario does so at the moment it chooses by raising `generation` in
// C:\lumenor-monitor\DISPLAYn.live, section [monitor]: every call on a handle given out before
// then fails with ERROR_GRAPHICS_MONITOR_NO_LONGER_EXISTS, and only a handle asked for afresh
// reaches the monitor.
// What the monitor was told is in C:\lumenor-monitor\DISPLAYn.state after every call, in the same
// form: level, maximum, reads, writes (calls answered yes), open (physical handles not yet
// destroyed), calls (every read and write, answered or not), dead_calls (those on a destroyed
// handle), opened (GetPhysicalMonitorsFromHMONITOR calls answered) and when the last write and the
// last read were answered (last_write_ms, last_read_ms: milliseconds since 1970 by the system
// clock, so a benchmark can set them beside its own key presses; 0 before the first). The level
// there survives the program's end, as a monitor's does.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr DWORD kI2cError = 0xC0262582;        // ERROR_GRAPHICS_I2C_ERROR_TRANSMITTING_DATA
constexpr DWORD kNoLongerExists = 0xC026258D;  // ERROR_GRAPHICS_MONITOR_NO_LONGER_EXISTS
constexpr BYTE kBrightness = 0x10;
constexpr int kDisplays = 16;

struct Monitor {
  bool loaded = false;
  wchar_t ini[MAX_PATH]{};
  wchar_t state[MAX_PATH]{};
  wchar_t live[MAX_PATH]{};
  int display = 0;
  DWORD level = 0;
  DWORD maximum = 0;
  int physical = 0;
  bool ddc = true;
  int noDdcAt = 0;
  bool ignoreWrites = false;
  int failReads = 0;
  int failWrites = 0;
  int nullHandles = 0;
  DWORD blockMs = 0;
  bool blockWrite = true;
  int blockAt = 1;
  DWORD readMs = 0;
  DWORD writeMs = 0;
  int reads = 0;  // calls of each kind, answered or not
  int writeCalls = 0;
  int readsAnswered = 0;
  int writes = 0;
  int open = 0;
  int deadCalls = 0;
  int opened = 0;
  long long lastWriteMs = 0;
  long long lastReadMs = 0;
};

long long UnixMilliseconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return static_cast<long long>(ticks / 10000ULL) - 11644473600000LL;  // 1601 to 1970
}

CRITICAL_SECTION& Lock() {
  static CRITICAL_SECTION lock;
  static const bool made = (InitializeCriticalSection(&lock), true);
  (void)made;
  return lock;
}

Monitor& Of(int display) {
  static Monitor monitors[kDisplays + 1];
  Monitor& m = monitors[display];
  if (m.loaded) return m;
  m.loaded = true;
  m.display = display;
  std::swprintf(m.ini, MAX_PATH, L"C:\\lumenor-monitor\\DISPLAY%d.ini", display);
  std::swprintf(m.state, MAX_PATH, L"C:\\lumenor-monitor\\DISPLAY%d.state", display);
  std::swprintf(m.live, MAX_PATH, L"C:\\lumenor-monitor\\DISPLAY%d.live", display);
  const auto get = [&](const wchar_t* key, int otherwise) {
    return static_cast<int>(GetPrivateProfileIntW(L"monitor", key, otherwise, m.ini));
  };
  m.maximum = static_cast<DWORD>(get(L"maximum", 100));
  m.level =
      static_cast<DWORD>(GetPrivateProfileIntW(L"monitor", L"level", get(L"level", 80), m.state));
  m.physical = get(L"physical", 1);
  m.ddc = get(L"ddc", 1) != 0;
  m.noDdcAt = get(L"no_ddc_at", 0);
  m.ignoreWrites = get(L"ignore_writes", 0) != 0;
  m.failReads = get(L"fail_reads", 0);
  m.failWrites = get(L"fail_writes", 0);
  m.nullHandles = get(L"null_handles", 0);
  m.blockMs = static_cast<DWORD>(get(L"block_ms", 0));
  wchar_t call[16]{};
  GetPrivateProfileStringW(L"monitor", L"block_call", L"write", call, 16, m.ini);
  m.blockWrite = std::wcscmp(call, L"read") != 0;
  m.blockAt = get(L"block_at", 1);
  m.readMs = static_cast<DWORD>(get(L"read_ms", 40));
  m.writeMs = static_cast<DWORD>(get(L"write_ms", 50));
  return m;
}

// Written whole and then moved over the old one, so a reader never sees half of it.
void Save(const Monitor& m) {
  char text[400];
  const int length = std::snprintf(
      text, sizeof text,
      "[monitor]\r\nlevel=%lu\r\nmaximum=%lu\r\nreads=%d\r\nwrites=%d\r\nopen=%d\r\n"
      "calls=%d\r\ndead_calls=%d\r\nopened=%d\r\nlast_write_ms=%lld\r\nlast_read_ms=%lld\r\n",
      m.level, m.maximum, m.readsAnswered, m.writes, m.open, m.reads + m.writeCalls, m.deadCalls,
      m.opened, m.lastWriteMs, m.lastReadMs);
  wchar_t temporary[MAX_PATH];
  std::swprintf(temporary, MAX_PATH, L"%ls.tmp", m.state);
  HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);
  MoveFileExW(temporary, m.state, MOVEFILE_REPLACE_EXISTING);
}

// The display behind a monitor handle, from its device name "\\.\DISPLAYn"; 0 when none.
int DisplayOf(HMONITOR monitor) {
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(monitor, &info)) return 0;
  const wchar_t* digits = std::wcsstr(info.szDevice, L"DISPLAY");
  const int display = digits != nullptr ? _wtoi(digits + 7) : 0;
  return display >= 1 && display <= kDisplays ? display : 0;
}

// The generation of handles the scenario has reached: those of an earlier one are destroyed.
int Generation(const Monitor& m) {
  return static_cast<int>(GetPrivateProfileIntW(L"monitor", L"generation", 0, m.live));
}

// A physical monitor's handle names its display, its place and the generation it was given in:
// generation × 65536 + display × 256 + its place + 1.
HANDLE HandleOf(int display, int place, int generation) {
  return reinterpret_cast<HANDLE>(
      static_cast<ULONG_PTR>(generation * 65536 + display * 256 + place + 1));
}
int DisplayOfHandle(HANDLE handle) {
  const auto value = reinterpret_cast<ULONG_PTR>(handle) % 65536;
  const int display = static_cast<int>(value / 256);
  return value % 256 != 0 && display >= 1 && display <= kDisplays ? display : 0;
}
int PlaceOfHandle(HANDLE handle) {
  return static_cast<int>(reinterpret_cast<ULONG_PTR>(handle) % 256) - 1;
}
bool Destroyed(const Monitor& m, HANDLE handle) {
  return static_cast<int>(reinterpret_cast<ULONG_PTR>(handle) / 65536) < Generation(m);
}
// A call on a handle the system destroyed, counted; false for a live one.
bool Dead(Monitor& m, HANDLE handle) {
  if (!Destroyed(m, handle)) return false;
  ++m.deadCalls;
  Save(m);
  SetLastError(kNoLongerExists);
  return true;
}
// The place has no DDC/CI: the whole monitor, or that one physical monitor of the display.
bool WithoutDdc(const Monitor& m, HANDLE handle) {
  return !m.ddc || PlaceOfHandle(handle) + 1 == m.noDdcAt;
}

struct Held {
  Held() { EnterCriticalSection(&Lock()); }
  ~Held() { LeaveCriticalSection(&Lock()); }
};

}  // namespace

extern "C" {

__declspec(dllexport) BOOL WINAPI
    GetNumberOfPhysicalMonitorsFromHMONITOR(HMONITOR monitor, LPDWORD count) {
  const int display = DisplayOf(monitor);
  if (display == 0 || count == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const Held held;
  *count = static_cast<DWORD>(Of(display).physical);
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI
    GetPhysicalMonitorsFromHMONITOR(HMONITOR monitor, DWORD size, void* array) {
  const int display = DisplayOf(monitor);
  const Held held;
  if (display == 0 || array == nullptr || size == 0 ||
      size > static_cast<DWORD>(Of(display).physical)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Monitor& m = Of(display);
  const bool null = m.nullHandles > 0;
  if (null) --m.nullHandles;
  // PHYSICAL_MONITOR: the handle, then a 128-character description.
  struct Physical {
    HANDLE handle;
    WCHAR description[128];
  };
  auto* physical = static_cast<Physical*>(array);
  const int generation = Generation(m);
  ++m.opened;
  for (DWORD k = 0; k < size; ++k) {
    physical[k].handle = null ? nullptr : HandleOf(display, static_cast<int>(k), generation);
    std::swprintf(physical[k].description, 128, L"Simulated monitor %d", display);
    if (!null) ++m.open;
  }
  Save(m);
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI DestroyPhysicalMonitors(DWORD size, void* array) {
  struct Physical {
    HANDLE handle;
    WCHAR description[128];
  };
  auto* physical = static_cast<Physical*>(array);
  const Held held;
  for (DWORD k = 0; array != nullptr && k < size; ++k) {
    if (const int display = DisplayOfHandle(physical[k].handle); display != 0) {
      --Of(display).open;
      Save(Of(display));
    }
  }
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI
    GetVCPFeatureAndVCPFeatureReply(HANDLE handle, BYTE code, LPDWORD type, LPDWORD current,
                                    LPDWORD maximum) {
  const int display = DisplayOfHandle(handle);
  if (display == 0 || code != kBrightness) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD wait = 0;
  {
    const Held held;
    Monitor& m = Of(display);
    if (Dead(m, handle)) return FALSE;
    ++m.reads;
    wait = m.readMs + (!m.blockWrite && m.reads == m.blockAt ? m.blockMs : 0);
  }
  Sleep(wait);
  const Held held;
  Monitor& m = Of(display);
  if (WithoutDdc(m, handle) || m.failReads > 0) {
    if (!WithoutDdc(m, handle)) --m.failReads;
    SetLastError(kI2cError);
    return FALSE;
  }
  ++m.readsAnswered;
  m.lastReadMs = UnixMilliseconds();
  if (type != nullptr) *type = 0;  // MC_SET_PARAMETER
  if (current != nullptr) *current = m.level;
  if (maximum != nullptr) *maximum = m.maximum;
  Save(m);
  return TRUE;
}

__declspec(dllexport) BOOL WINAPI SetVCPFeature(HANDLE handle, BYTE code, DWORD value) {
  const int display = DisplayOfHandle(handle);
  if (display == 0 || code != kBrightness) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  DWORD wait = 0;
  {
    const Held held;
    Monitor& m = Of(display);
    if (Dead(m, handle)) return FALSE;
    ++m.writeCalls;
    wait = m.writeMs + (m.blockWrite && m.writeCalls == m.blockAt ? m.blockMs : 0);
  }
  Sleep(wait);
  const Held held;
  Monitor& m = Of(display);
  if (WithoutDdc(m, handle) || m.failWrites > 0) {
    if (!WithoutDdc(m, handle)) --m.failWrites;
    SetLastError(kI2cError);
    return FALSE;
  }
  ++m.writes;
  m.lastWriteMs = UnixMilliseconds();
  if (!m.ignoreWrites) m.level = value < m.maximum ? value : m.maximum;
  Save(m);
  return TRUE;
}

}  // extern "C"
