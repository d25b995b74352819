// lumenor_probe: reads what a user of the desktop sees and what the platform holds, for the desktop
// scenarios. It runs beside lumenor.exe in the same Wine prefix and display and prints one JSON
// document (UTF-8) per report on stdout.
//
//   window <caption>              the top-level window with that exact caption and its children
//   window --hwnd <n>             the same for a window handle
//   windows                       every top-level window, top of the z-order first (a tooltip
//                                 with the text it shows: a tray balloon's text)
//   gamma                         the display's ramp, 768 entries (red, green, blue)
//   set-gamma <file>              writes the 768 entries in the file to the display's ramp
//   atom <name>                   whether a global atom of that name exists
//   delete-atom <name>            deletes every reference to that global atom (a killed program
//                                 leaves its atoms behind; scenarios start without them)
//   nc-hit <caption> <code>       the screen point at the centre of the window's area that
//                                 answers WM_NCHITTEST with that code (20: the close box)
//   hold-hotkey <mods> <vk> <s>   registers a hotkey for this thread and holds it for s seconds
//   hold-file <path> <s>          opens the file without sharing it (as a sync client or an editor
//                                 can) and holds it for s seconds
//   topmost-window <s> <x> <y> <w> <h> <rrggbb>
//                                 shows a topmost, solid-coloured window for s seconds
//   screen                        the primary screen's size
//   monitors                      every display attached (EnumDisplayMonitors): its device name,
//                                 its rectangle and work area, and whether it is the primary
//   set-resolution <w> <h>        changes the display's mode as Windows programs and the display
//                                 settings do (ChangeDisplaySettingsExW, which tells every window)
//   watch-display <s>             a hidden top-level window (class LumenorProbeDisplayWatch) that
//                                 reports each WM_DISPLAYCHANGE and each power setting change
//                                 (WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE) it receives during s
//                                 seconds
//   post <class> <msg> <wp> <lp>  posts a message to the top-level window of that class, as the
//                                 system posts WM_POWERBROADCAST and WM_WTSSESSION_CHANGE (numbers
//                                 in decimal or 0x hexadecimal)
//   copy-data <class> <tag> <hex> [n] [tail]  sends WM_COPYDATA to the top-level window of that
//                                 class as another program may: dwData the tag, the data the bytes
//                                 given in hexadecimal n times over, then the tail's bytes once;
//                                 what the window answered within 5 s
//   census <pid> <class>          the windows of a process: top-level and child windows counted,
//                                 by class, whether each top-level one answers WM_GETTEXT within
//                                 2 s, and the program's live handle counts asked of its window
//                                 of that class
//   display-on <class>            tells the top-level window of that class that the display came
//                                 on, as the system does: WM_POWERBROADCAST with
//                                 PBT_POWERSETTINGCHANGE and a POWERBROADCAST_SETTING for
//                                 GUID_CONSOLE_DISPLAY_STATE (data 1) in that window's process
//   modules <pid>                 the file of every module loaded in a process
//   load-library <path>           loads a DLL into the probe and frees it again (whether its
//                                 DllMain runs)
//   taskbar-created               broadcasts "TaskbarCreated" as Explorer does when it restarts
//   forget-tray-icon <hwnd>       deletes the notification icon of that window, as a restarting
//                                 shell loses every icon (its identifier is read from Wine's
//                                 notification area)
//   tooltip-text <hwnd>           the text of the tool a tooltip window shows now (read through
//                                 its program's memory, as a tooltip's window text stays empty)
//   idle <s>                      does nothing for s seconds (keeps the prefix's Wine processes up
//                                 between the short probe runs)
//
// Commands chained as `<command> then <command> ...` run one right after the other in one process
// (a ramp put on the display and the signal that tells of it, with no tick of the program between
// them), each printing its own report; the chain stops at the first that fails.
//
// An argument that starts with "hex:" is UTF-8 given in hexadecimal, so texts reach the probe
// intact whatever the Unix locale is.
#include <windows.h>

#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <psapi.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

// ---- output ---------------------------------------------------------------------------------

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Quote(const std::wstring& text) {
  std::string out = "\"";
  for (const char c : Utf8(text)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string Num(long long v) {
  return std::to_string(v);
}
std::string Bool(bool v) {
  return v ? "true" : "false";
}
std::string Handle(HWND w) {
  return Num(static_cast<long long>(reinterpret_cast<INT_PTR>(w)));
}

std::string RectJson(const RECT& r) {
  return "{\"left\":" + Num(r.left) + ",\"top\":" + Num(r.top) + ",\"right\":" + Num(r.right) +
         ",\"bottom\":" + Num(r.bottom) + "}";
}

void Emit(const std::string& json) {
  std::fwrite(json.data(), 1, json.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int Fail(const std::string& why) {
  Emit("{\"error\":" + Quote(Wide(why)) + "}");
  return 2;
}

// ---- arguments ------------------------------------------------------------------------------

std::wstring Arg(const wchar_t* raw) {
  std::wstring arg = raw;
  if (arg.rfind(L"hex:", 0) != 0) return arg;
  std::string bytes;
  for (size_t i = 4; i + 1 < arg.size(); i += 2) {
    const std::wstring pair = arg.substr(i, 2);
    bytes += static_cast<char>(std::wcstoul(pair.c_str(), nullptr, 16));
  }
  return Wide(bytes);
}

// ---- owned handles --------------------------------------------------------------------------

class ScreenDC {
 public:
  ScreenDC() : dc_(GetDC(nullptr)) {}
  ~ScreenDC() {
    if (dc_ != nullptr) ReleaseDC(nullptr, dc_);
  }
  ScreenDC(const ScreenDC&) = delete;
  ScreenDC& operator=(const ScreenDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

class Brush {
 public:
  explicit Brush(COLORREF colour) : brush_(CreateSolidBrush(colour)) {}
  ~Brush() {
    if (brush_ != nullptr) DeleteObject(brush_);
  }
  Brush(const Brush&) = delete;
  Brush& operator=(const Brush&) = delete;
  HBRUSH get() const { return brush_; }

 private:
  HBRUSH brush_;
};

class Window {
 public:
  explicit Window(HWND hwnd) : hwnd_(hwnd) {}
  ~Window() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

class ThreadHotkey {
 public:
  ThreadHotkey(int id, UINT mods, UINT vk)
      : id_(id), ok_(RegisterHotKey(nullptr, id, mods, vk) != FALSE), error_(GetLastError()) {}
  ~ThreadHotkey() {
    if (ok_) UnregisterHotKey(nullptr, id_);
  }
  ThreadHotkey(const ThreadHotkey&) = delete;
  ThreadHotkey& operator=(const ThreadHotkey&) = delete;
  bool ok() const { return ok_; }
  DWORD error() const { return error_; }

 private:
  int id_;
  bool ok_;
  DWORD error_;
};

// ---- window reports -------------------------------------------------------------------------

std::wstring ClassOf(HWND w) {
  wchar_t buf[256] = {};
  GetClassNameW(w, buf, 256);
  return buf;
}

std::wstring TextOf(HWND w) {
  const int n = GetWindowTextLengthW(w);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  const int got = GetWindowTextW(w, text.data(), n + 1);
  text.resize(static_cast<size_t>(got > 0 ? got : 0));
  return text;
}

bool ClassIs(const std::wstring& cls, const wchar_t* name) {
  return lstrcmpiW(cls.c_str(), name) == 0;
}

// A tooltip (a tray balloon among them) answers WM_GETTEXT with the text it shows; its window
// title, which GetWindowText reads across processes, stays empty.
std::wstring TipText(HWND w) {
  wchar_t buffer[1024] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                           2000, &copied)) {
    return {};
  }
  return buffer;
}

// Asks another program's control; a control whose program does not answer within 2 s reads -1
// rather than hanging the probe.
long long Ask(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, 2000, &result)) return -1;
  return static_cast<long long>(static_cast<LONG_PTR>(result));
}

// What a control holds beyond its text: slider and scroll bar positions, check states.
std::string ControlState(HWND w, const std::wstring& cls) {
  std::string out;
  if (ClassIs(cls, TRACKBAR_CLASSW)) {
    out += ",\"pos\":" + Num(static_cast<int>(Ask(w, TBM_GETPOS)));
    out += ",\"min\":" + Num(static_cast<int>(Ask(w, TBM_GETRANGEMIN)));
    out += ",\"max\":" + Num(static_cast<int>(Ask(w, TBM_GETRANGEMAX)));
  } else if (ClassIs(cls, L"ScrollBar")) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (GetScrollInfo(w, SB_CTL, &si)) {
      out += ",\"pos\":" + Num(si.nPos) + ",\"min\":" + Num(si.nMin) + ",\"max\":" + Num(si.nMax);
    } else {
      // SBM_GETPOS carries no pointer, so it works across processes whatever the system marshals.
      out += ",\"pos\":" + Num(static_cast<int>(Ask(w, SBM_GETPOS)));
    }
  } else if (ClassIs(cls, L"Button")) {
    out += ",\"check\":" + Num(Ask(w, BM_GETCHECK));
  }
  return out;
}

std::string ChildJson(HWND w, HWND focus) {
  const std::wstring cls = ClassOf(w);
  RECT r{};
  GetWindowRect(w, &r);
  std::string out = "{\"hwnd\":" + Handle(w);
  out += ",\"parent\":" + Handle(GetParent(w));
  out += ",\"id\":" + Num(GetDlgCtrlID(w));
  out += ",\"class\":" + Quote(cls);
  out += ",\"text\":" + Quote(TextOf(w));
  out += ",\"rect\":" + RectJson(r);
  out += ",\"visible\":" + Bool(IsWindowVisible(w) != FALSE);
  out += ",\"enabled\":" + Bool(IsWindowEnabled(w) != FALSE);
  out +=
      ",\"style\":" + Num(static_cast<long long>(static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE))));
  out += ",\"focused\":" + Bool(w == focus);
  out += ControlState(w, cls);
  return out + "}";
}

BOOL CALLBACK CollectChild(HWND w, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(w);
  return TRUE;
}

std::string WindowJson(HWND w, bool withChildren) {
  DWORD pid = 0;
  const DWORD tid = GetWindowThreadProcessId(w, &pid);
  RECT r{};
  GetWindowRect(w, &r);
  RECT c{};
  GetClientRect(w, &c);
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  OffsetRect(&c, origin.x, origin.y);
  const auto style = static_cast<DWORD>(GetWindowLongW(w, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(w, GWL_EXSTYLE));

  std::string out = "{\"found\":true,\"hwnd\":" + Handle(w);
  out += ",\"pid\":" + Num(pid) + ",\"tid\":" + Num(tid);
  out += ",\"class\":" + Quote(ClassOf(w));
  out += ",\"text\":" + Quote(TextOf(w));
  out += ",\"rect\":" + RectJson(r);
  out += ",\"client\":" + RectJson(c);
  out += ",\"visible\":" + Bool(IsWindowVisible(w) != FALSE);
  out += ",\"enabled\":" + Bool(IsWindowEnabled(w) != FALSE);
  out += ",\"style\":" + Num(style) + ",\"exstyle\":" + Num(exStyle);
  out += ",\"topmost\":" + Bool((exStyle & WS_EX_TOPMOST) != 0);

  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  if ((exStyle & WS_EX_LAYERED) != 0 && GetLayeredWindowAttributes(w, &key, &alpha, &flags)) {
    out += ",\"layered\":{\"alpha\":" + Num(alpha) + ",\"key\":" + Num(key) +
           ",\"flags\":" + Num(flags) + "}";
  } else {
    out += ",\"layered\":null";
  }
  if (ClassIs(ClassOf(w), TOOLTIPS_CLASSW)) out += ",\"tip\":" + Quote(TipText(w));

  if (withChildren) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    HWND focus = GetGUIThreadInfo(tid, &gui) ? gui.hwndFocus : nullptr;
    out += ",\"focus\":" + Handle(focus);
    std::vector<HWND> children;
    EnumChildWindows(w, CollectChild, reinterpret_cast<LPARAM>(&children));
    out += ",\"children\":[";
    for (size_t i = 0; i < children.size(); ++i) {
      if (i > 0) out += ",";
      out += ChildJson(children[i], focus);
    }
    out += "]";
  }
  return out + "}";
}

int CmdWindow(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: window <caption> | window --hwnd <n>");
  HWND w = nullptr;
  const std::wstring first = Arg(argv[2]);
  if (first == L"--hwnd" && argc >= 4) {
    w = reinterpret_cast<HWND>(static_cast<INT_PTR>(_wtoi64(argv[3])));
    if (!IsWindow(w)) w = nullptr;
  } else {
    w = FindWindowW(nullptr, first.c_str());
  }
  if (w == nullptr) {
    Emit("{\"found\":false}");
    return 0;
  }
  Emit(WindowJson(w, true));
  return 0;
}

BOOL CALLBACK CollectTop(HWND w, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(w);
  return TRUE;
}

int CmdWindows() {
  std::vector<HWND> all;
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&all));
  std::string out = "{\"windows\":[";
  for (size_t i = 0; i < all.size(); ++i) {
    if (i > 0) out += ",";
    out += WindowJson(all[i], false);
  }
  Emit(out + "]}");
  return 0;
}

// ---- display --------------------------------------------------------------------------------

int CmdGamma() {
  ScreenDC dc;
  std::vector<WORD> ramp(768, 0);
  const bool ok = dc.get() != nullptr && GetDeviceGammaRamp(dc.get(), ramp.data()) != FALSE;
  std::string out = "{\"ok\":" + Bool(ok) + ",\"ramp\":[";
  for (size_t i = 0; i < ramp.size(); ++i) {
    if (i > 0) out += ",";
    out += Num(ramp[i]);
  }
  Emit(out + "]}");
  return 0;
}

class InputFile {
 public:
  explicit InputFile(const std::wstring& path) : file_(_wfopen(path.c_str(), L"r")) {}
  ~InputFile() {
    if (file_ != nullptr) std::fclose(file_);
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  FILE* get() const { return file_; }

 private:
  FILE* file_;
};

int CmdSetGamma(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: set-gamma <file of 768 numbers>");
  InputFile in(Arg(argv[2]));
  if (in.get() == nullptr) return Fail("set-gamma cannot open its file");
  std::vector<WORD> ramp;
  unsigned long v = 0;
  while (ramp.size() < 768 && std::fscanf(in.get(), "%lu", &v) == 1) {
    ramp.push_back(static_cast<WORD>(v));
  }
  if (ramp.size() != 768) return Fail("set-gamma needs 768 numbers in its file");
  ScreenDC dc;
  const bool ok = dc.get() != nullptr && SetDeviceGammaRamp(dc.get(), ramp.data()) != FALSE;
  Emit("{\"ok\":" + Bool(ok) + "}");
  return 0;
}

int CmdScreen() {
  Emit("{\"width\":" + Num(GetSystemMetrics(SM_CXSCREEN)) +
       ",\"height\":" + Num(GetSystemMetrics(SM_CYSCREEN)) + "}");
  return 0;
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
  reinterpret_cast<std::vector<HMONITOR>*>(param)->push_back(monitor);
  return TRUE;
}

int CmdMonitors() {
  std::vector<HMONITOR> monitors;
  if (!EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors)))
    return Fail("EnumDisplayMonitors failed");
  std::string out = "{\"monitors\":[";
  for (size_t i = 0; i < monitors.size(); ++i) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(monitors[i], &info)) return Fail("GetMonitorInfoW failed");
    out += std::string(i > 0 ? "," : "") + "{\"device\":" + Quote(info.szDevice) +
           ",\"rect\":" + RectJson(info.rcMonitor) + ",\"work\":" + RectJson(info.rcWork) +
           ",\"primary\":" + Bool((info.dwFlags & MONITORINFOF_PRIMARY) != 0) + "}";
  }
  Emit(out + "]}");
  return 0;
}

int CmdSetResolution(int argc, wchar_t** argv) {
  if (argc < 4) return Fail("usage: set-resolution <width> <height>");
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(_wtoi(argv[2]));
  mode.dmPelsHeight = static_cast<DWORD>(_wtoi(argv[3]));
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  const LONG result = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
  Emit("{\"ok\":" + Bool(result == DISP_CHANGE_SUCCESSFUL) + ",\"result\":" + Num(result) +
       ",\"width\":" + Num(GetSystemMetrics(SM_CXSCREEN)) +
       ",\"height\":" + Num(GetSystemMetrics(SM_CYSCREEN)) + "}");
  return 0;
}

// The system posts its power and session notices; a test posts the same messages.
int CmdPost(int argc, wchar_t** argv) {
  if (argc < 6) return Fail("usage: post <class> <message> <wParam> <lParam>");
  HWND w = FindWindowW(Arg(argv[2]).c_str(), nullptr);
  if (w == nullptr) {
    Emit("{\"found\":false}");
    return 0;
  }
  const auto message = static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0));
  const auto wParam = static_cast<WPARAM>(std::wcstoull(argv[4], nullptr, 0));
  const auto lParam = static_cast<LPARAM>(std::wcstoll(argv[5], nullptr, 0));
  const bool posted = PostMessageW(w, message, wParam, lParam) != FALSE;
  Emit("{\"found\":true,\"hwnd\":" + Handle(w) + ",\"posted\":" + Bool(posted) + "}");
  return 0;
}

// Any program may send a window data; a test sends what a second start or a stranger would.
int CmdCopyData(int argc, wchar_t** argv) {
  if (argc < 5) return Fail("usage: copy-data <class> <tag> <hex bytes> [times] [tail hex bytes]");
  HWND w = FindWindowW(Arg(argv[2]).c_str(), nullptr);
  if (w == nullptr) {
    Emit("{\"found\":false}");
    return 0;
  }
  const auto bytes = [](const wchar_t* hex) {
    std::vector<unsigned char> read;
    for (const wchar_t* at = hex; at[0] != L'\0' && at[1] != L'\0'; at += 2) {
      const wchar_t pair[3] = {at[0], at[1], L'\0'};
      read.push_back(static_cast<unsigned char>(std::wcstoul(pair, nullptr, 16)));
    }
    return read;
  };
  const std::vector<unsigned char> once = bytes(argv[4]);
  const long times = argc >= 6 ? std::wcstol(argv[5], nullptr, 10) : 1;
  std::vector<unsigned char> data;
  for (long k = 0; k < times; ++k) data.insert(data.end(), once.begin(), once.end());
  if (argc >= 7) {
    const std::vector<unsigned char> tail = bytes(argv[6]);
    data.insert(data.end(), tail.begin(), tail.end());
  }
  COPYDATASTRUCT copy{static_cast<ULONG_PTR>(std::wcstoull(argv[3], nullptr, 0)),
                      static_cast<DWORD>(data.size()), data.empty() ? nullptr : data.data()};
  DWORD_PTR result = 0;
  const bool answered = SendMessageTimeoutW(w, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy),
                                            SMTO_NORMAL, 5000, &result) != 0;
  Emit("{\"found\":true,\"answered\":" + Bool(answered) + ",\"result\":" +
       Num(static_cast<long long>(result)) + "}");
  return 0;
}

int CmdAtom(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: atom <name>");
  const std::string name = Utf8(Arg(argv[2]));
  const ATOM atom = GlobalFindAtomA(name.c_str());
  Emit("{\"name\":" + Quote(Wide(name)) + ",\"found\":" + Bool(atom != 0) +
       ",\"atom\":" + Num(atom) + "}");
  return 0;
}

int CmdDeleteAtom(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: delete-atom <name>");
  const std::string name = Utf8(Arg(argv[2]));
  int deleted = 0;
  for (ATOM atom = GlobalFindAtomA(name.c_str()); atom != 0 && deleted < 1000;
       atom = GlobalFindAtomA(name.c_str())) {
    GlobalDeleteAtom(atom);
    ++deleted;
  }
  Emit("{\"name\":" + Quote(Wide(name)) + ",\"deleted\":" + Num(deleted) +
       ",\"found\":" + Bool(GlobalFindAtomA(name.c_str()) != 0) + "}");
  return 0;
}

// Asks the window itself which part of it lies under the points of its caption row, as the system
// does for a mouse click, and reports the centre of the run of points that answer with the code.
int CmdNcHit(int argc, wchar_t** argv) {
  if (argc < 4) return Fail("usage: nc-hit <caption> <code>");
  HWND w = FindWindowW(nullptr, Arg(argv[2]).c_str());
  if (w == nullptr) {
    Emit("{\"found\":false}");
    return 0;
  }
  const LRESULT code = _wtoi(argv[3]);
  RECT r{};
  GetWindowRect(w, &r);
  POINT clientTop{0, 0};
  ClientToScreen(w, &clientTop);  // the caption and its buttons lie above the client area
  auto hitAt = [w](long x, long y) -> LRESULT {
    DWORD_PTR hit = 0;
    if (!SendMessageTimeoutW(w, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG, 2000, &hit)) {
      return -100;
    }
    return static_cast<LRESULT>(hit);
  };
  const long row = (r.top + clientTop.y) / 2;
  long minX = r.right, maxX = r.left - 1;
  for (long x = r.left; x < r.right; ++x) {
    if (hitAt(x, row) != code) continue;
    if (x < minX) minX = x;
    if (x > maxX) maxX = x;
  }
  if (maxX < minX) {
    Emit("{\"found\":true,\"hit\":false}");
    return 0;
  }
  const long column = (minX + maxX) / 2;
  long minY = row, maxY = row;
  while (minY > r.top && hitAt(column, minY - 1) == code) --minY;
  while (maxY + 1 < r.bottom && hitAt(column, maxY + 1) == code) ++maxY;
  Emit("{\"found\":true,\"hit\":true,\"x\":" + Num(column) + ",\"y\":" + Num((minY + maxY) / 2) +
       ",\"left\":" + Num(minX) + ",\"right\":" + Num(maxX) + ",\"top\":" + Num(minY) +
       ",\"bottom\":" + Num(maxY) + "}");
  return 0;
}

// ---- holding things for a while -------------------------------------------------------------

// Runs this thread's message loop until the time is up; reports each hotkey message as it comes.
int PumpFor(double seconds) {
  int hotkeys = 0;
  const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000.0);
  for (;;) {
    const ULONGLONG now = GetTickCount64();
    if (now >= end) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_HOTKEY) {
        ++hotkeys;
        Emit("{\"hotkey\":" + Num(hotkeys) + "}");
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return hotkeys;
}

int CmdHoldHotkey(int argc, wchar_t** argv) {
  if (argc < 5) return Fail("usage: hold-hotkey <mods> <vk> <seconds>");
  const auto mods = static_cast<UINT>(_wtoi(argv[2]));
  const auto vk = static_cast<UINT>(_wtoi(argv[3]));
  const double seconds = _wtof(argv[4]);
  int pressed = 0;
  {
    ThreadHotkey hotkey(1, mods, vk);
    Emit("{\"registered\":" + Bool(hotkey.ok()) +
         ",\"error\":" + Num(hotkey.ok() ? 0 : hotkey.error()) + "}");
    if (hotkey.ok()) pressed = PumpFor(seconds);
  }
  Emit("{\"released\":true,\"pressed\":" + Num(pressed) + "}");
  return 0;
}

int CmdHoldFile(int argc, wchar_t** argv) {
  if (argc < 4) return Fail("usage: hold-file <path> <seconds>");
  HANDLE file = CreateFileW(Arg(argv[2]).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  const bool held = file != INVALID_HANDLE_VALUE;
  Emit("{\"held\":" + Bool(held) + ",\"error\":" + Num(held ? 0 : GetLastError()) + "}");
  if (!held) return 1;
  Sleep(static_cast<DWORD>(_wtof(argv[3]) * 1000));
  CloseHandle(file);
  Emit("{\"released\":true}");
  return 0;
}

constexpr wchar_t kTopmostClass[] = L"LumenorProbeTopmost";

LRESULT CALLBACK TopmostProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcW(w, msg, wp, lp);
}

int CmdTopmostWindow(int argc, wchar_t** argv) {
  if (argc < 8) return Fail("usage: topmost-window <seconds> <x> <y> <w> <h> <rrggbb>");
  const double seconds = _wtof(argv[2]);
  const int x = _wtoi(argv[3]), y = _wtoi(argv[4]), width = _wtoi(argv[5]), height = _wtoi(argv[6]);
  const unsigned long rgb = std::wcstoul(argv[7], nullptr, 16);
  Brush brush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));

  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = TopmostProc;
  wc.hInstance = instance;
  wc.lpszClassName = kTopmostClass;
  wc.hbrBackground = brush.get();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  if (RegisterClassW(&wc) == 0) return Fail("RegisterClassW failed");
  {
    Window window(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE,
                                  kTopmostClass, L"lumenor-probe-topmost", WS_POPUP, x, y, width,
                                  height, nullptr, nullptr, instance, nullptr));
    if (window.get() == nullptr) return Fail("CreateWindowExW failed");
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    SetWindowPos(window.get(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateWindow(window.get());
    Emit("{\"shown\":true,\"hwnd\":" + Handle(window.get()) + "}");
    PumpFor(seconds);
  }
  UnregisterClassW(kTopmostClass, instance);
  Emit("{\"closed\":true}");
  return 0;
}

constexpr wchar_t kWatchClass[] = L"LumenorProbeDisplayWatch";

// {6FE69556-704A-47A0-8F24-C28D936FDA47}: the console display's state, 0 off, 1 on, 2 dimmed.
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

LRESULT CALLBACK WatchProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DISPLAYCHANGE) {
    Emit("{\"displaychange\":true,\"width\":" + Num(LOWORD(lp)) + ",\"height\":" + Num(HIWORD(lp)) +
         ",\"metrics\":[" + Num(GetSystemMetrics(SM_CXSCREEN)) + "," +
         Num(GetSystemMetrics(SM_CYSCREEN)) + "]}");
    return 0;
  }
  if (msg == WM_POWERBROADCAST && wp == PBT_POWERSETTINGCHANGE && lp != 0) {
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lp);
    DWORD value = 0;
    if (setting->DataLength == sizeof value) std::memcpy(&value, setting->Data, sizeof value);
    Emit("{\"powersetting\":true,\"displaystate\":" +
         Bool(IsEqualGUID(setting->PowerSetting, kConsoleDisplayState) != FALSE) +
         ",\"length\":" + Num(setting->DataLength) + ",\"value\":" + Num(value) + "}");
    return TRUE;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

int CmdWatchDisplay(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: watch-display <seconds>");
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = WatchProc;
  wc.hInstance = instance;
  wc.lpszClassName = kWatchClass;
  if (RegisterClassW(&wc) == 0) return Fail("RegisterClassW failed");
  {
    Window window(CreateWindowExW(WS_EX_TOOLWINDOW, kWatchClass, L"lumenor-probe-watch", WS_POPUP,
                                  0, 0, 1, 1, nullptr, nullptr, instance, nullptr));
    if (window.get() == nullptr) return Fail("CreateWindowExW failed");
    Emit("{\"watching\":true}");
    PumpFor(_wtof(argv[2]));
  }
  UnregisterClassW(kWatchClass, instance);
  Emit("{\"done\":true}");
  return 0;
}

// ---- a process from outside -------------------------------------------------------------------

struct ProcessWindows {
  DWORD pid;
  std::vector<HWND> top;
};

BOOL CALLBACK CollectProcessWindow(HWND w, LPARAM lp) {
  auto* found = reinterpret_cast<ProcessWindows*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == found->pid) found->top.push_back(w);
  return TRUE;
}

// The kinds in the order the program numbers them (its HandleKind).
constexpr const char* kHandleKindNames[] = {"windows", "icons",    "menus", "fonts",  "brushes",
                                            "bitmaps", "gdiOther", "dcs",   "kernel", "other"};

int CmdCensus(int argc, wchar_t** argv) {
  if (argc < 4) return Fail("usage: census <pid> <class>");
  ProcessWindows found{static_cast<DWORD>(_wtoi64(argv[2])), {}};
  const std::wstring countClass = Arg(argv[3]);
  EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&found));
  // Message-only windows are top-level windows too, under HWND_MESSAGE.
  for (HWND w = nullptr; (w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr)) != nullptr;) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == found.pid) found.top.push_back(w);
  }

  std::map<std::wstring, int> classes;
  size_t children = 0;
  bool answered = true;
  HWND countWindow = nullptr;
  for (HWND w : found.top) {
    const std::wstring cls = ClassOf(w);
    ++classes[cls];
    if (countWindow == nullptr && cls == countClass) countWindow = w;
    wchar_t text[512];
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             2000, &got))
      answered = false;
    std::vector<HWND> below;
    EnumChildWindows(w, CollectChild, reinterpret_cast<LPARAM>(&below));
    children += below.size();
    for (HWND c : below) ++classes[ClassOf(c)];
  }

  std::string out = "{\"top\":" + Num(static_cast<long long>(found.top.size())) +
                    ",\"children\":" + Num(static_cast<long long>(children)) +
                    ",\"answered\":" + Bool(answered) + ",\"classes\":{";
  bool first = true;
  for (const auto& [cls, n] : classes) {
    out += (first ? "" : ",") + Quote(cls) + ":" + Num(n);
    first = false;
  }
  out += "},\"counts\":";
  const UINT query = RegisterWindowMessageW(L"Lumenor.LiveHandleCount");
  if (countWindow == nullptr) {
    out += "null";
  } else {
    out += "{";
    for (size_t k = 0; k < std::size(kHandleKindNames); ++k) {
      out += std::string(k > 0 ? "," : "") + "\"" + kHandleKindNames[k] +
             "\":" + Num(Ask(countWindow, query, k));
    }
    out += "}";
  }
  Emit(out + "}");
  return 0;
}

int CmdModules(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: modules <pid>");
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE,
                               static_cast<DWORD>(_wtoi64(argv[2])));
  if (process == nullptr) return Fail("OpenProcess failed");
  std::vector<HMODULE> modules(1024);
  DWORD needed = 0;
  const BOOL ok = EnumProcessModulesEx(process, modules.data(),
                                       static_cast<DWORD>(modules.size() * sizeof(HMODULE)),
                                       &needed, LIST_MODULES_ALL);
  std::string out = "{\"ok\":" + Bool(ok != FALSE) + ",\"modules\":[";
  const size_t count = ok ? std::min<size_t>(needed / sizeof(HMODULE), modules.size()) : 0;
  for (size_t i = 0; i < count; ++i) {
    wchar_t path[MAX_PATH * 2] = {};
    GetModuleFileNameExW(process, modules[i], path, MAX_PATH * 2);
    out += (i > 0 ? "," : "") + Quote(path);
  }
  CloseHandle(process);
  Emit(out + "]}");
  return 0;
}

int CmdTaskbarCreated() {
  const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
  const BOOL sent = SendNotifyMessageW(HWND_BROADCAST, message, 0, 0);
  Emit("{\"sent\":" + Bool(sent != FALSE) + "}");
  return 0;
}

// The identifier a window filed its notification icon under, read from the notification area
// that shows it. Lumenor files it under its small icon handle, which no other process can ask for
// (Wine answers WM_GETICON from another process with 0). Wine's notification area keeps one icon
// window per icon whose user data points at its record in that process. The record is taken only
// when its owner is `owner`, its window field is the icon window itself and its tooltip is a
// window, so a different layout finds nothing rather than a wrong identifier.
bool TrayIconId(HWND owner, UINT& id) {
  struct Record {  // as Wine 8's winex11.drv lays it out (measured: a pointer-sized field sits
                   // between the window and the tooltip)
    void* links[2];
    HICON image;
    HWND owner;
    HWND window;
    void* unknown;
    HWND tooltip;
    UINT state;
    UINT id;
  };
  std::vector<HWND> icons;
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, nullptr, nullptr)) != nullptr;) {
    std::vector<HWND> all{w};
    EnumChildWindows(w, CollectChild, reinterpret_cast<LPARAM>(&all));
    for (HWND c : all)
      if (ClassOf(c) == L"__winex11_tray_icon") icons.push_back(c);
  }
  for (HWND icon : icons) {
    DWORD pid = 0;
    GetWindowThreadProcessId(icon, &pid);
    const auto address = GetWindowLongPtrW(icon, GWLP_USERDATA);
    HANDLE process = OpenProcess(PROCESS_VM_READ, FALSE, pid);
    if (process == nullptr || address == 0) {
      if (process != nullptr) CloseHandle(process);
      continue;
    }
    Record record{};
    const BOOL read = ReadProcessMemory(process, reinterpret_cast<const void*>(address), &record,
                                        sizeof record, nullptr);
    CloseHandle(process);
    if (read && record.owner == owner && record.window == icon && IsWindow(record.tooltip)) {
      id = record.id;
      return true;
    }
  }
  return false;
}

int CmdForgetTrayIcon(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: forget-tray-icon <hwnd>");
  HWND w = reinterpret_cast<HWND>(static_cast<INT_PTR>(_wtoi64(argv[2])));
  if (!IsWindow(w)) return Fail("no such window");
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = w;
  if (!TrayIconId(w, data.uID)) {
    Emit("{\"deleted\":false,\"found\":false}");
    return 0;
  }
  const BOOL deleted = Shell_NotifyIconW(NIM_DELETE, &data);
  Emit("{\"deleted\":" + Bool(deleted != FALSE) + ",\"found\":true,\"id\":" + Num(data.uID) + "}");
  return 0;
}

// Memory in another process, freed with this object.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, size_t size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
  }
  ~RemoteBuffer() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  void* get() const { return address_; }
  char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }

 private:
  HANDLE process_;
  void* address_;
};

class OwnedProcess {
 public:
  OwnedProcess(DWORD access, DWORD pid) : process_(OpenProcess(access, FALSE, pid)) {}
  ~OwnedProcess() {
    if (process_ != nullptr) CloseHandle(process_);
  }
  OwnedProcess(const OwnedProcess&) = delete;
  OwnedProcess& operator=(const OwnedProcess&) = delete;
  HANDLE get() const { return process_; }

 private:
  HANDLE process_;
};

// The system hands a power setting's new value to a window as a POWERBROADCAST_SETTING in that
// window's own process: the record is written there and its address posted. The record stays
// with the target (one page per notice): the probe cannot tell when it has been read, and
// freeing it early would leave the target reading released memory.
int CmdDisplayOn(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: display-on <class>");
  HWND w = FindWindowW(Arg(argv[2]).c_str(), nullptr);
  if (w == nullptr) {
    Emit("{\"found\":false}");
    return 0;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  OwnedProcess process(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, pid);
  if (process.get() == nullptr) return Fail("OpenProcess failed");

  // GUID PowerSetting; DWORD DataLength; UCHAR Data[DataLength]: here a DWORD.
  constexpr DWORD kDisplayOn = 1;
  char record[sizeof(GUID) + 2 * sizeof(DWORD)] = {};
  const DWORD length = sizeof kDisplayOn;
  std::memcpy(record, &kConsoleDisplayState, sizeof(GUID));
  std::memcpy(record + sizeof(GUID), &length, sizeof length);
  std::memcpy(record + sizeof(GUID) + sizeof(DWORD), &kDisplayOn, sizeof kDisplayOn);
  static_assert(offsetof(POWERBROADCAST_SETTING, DataLength) == sizeof(GUID));
  static_assert(offsetof(POWERBROADCAST_SETTING, Data) == sizeof(GUID) + sizeof(DWORD));

  void* remote = VirtualAllocEx(process.get(), nullptr, sizeof record, MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE);
  if (remote == nullptr) return Fail("VirtualAllocEx failed");
  if (!WriteProcessMemory(process.get(), remote, record, sizeof record, nullptr)) {
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return Fail("WriteProcessMemory failed");
  }
  const bool posted = PostMessageW(w, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                                   reinterpret_cast<LPARAM>(remote)) != FALSE;
  if (!posted) VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
  Emit("{\"found\":true,\"hwnd\":" + Handle(w) + ",\"pid\":" + Num(pid) +
       ",\"posted\":" + Bool(posted) + ",\"address\":" +
       Num(static_cast<long long>(reinterpret_cast<INT_PTR>(remote))) + "}");
  return 0;
}

int CmdLoadLibrary(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: load-library <path>");
  HMODULE module = LoadLibraryW(Arg(argv[2]).c_str());
  const DWORD error = module == nullptr ? GetLastError() : 0;
  if (module != nullptr) FreeLibrary(module);
  Emit("{\"loaded\":" + Bool(module != nullptr) + ",\"lastError\":" + Num(error) + "}");
  return 0;
}

int CmdTooltipText(int argc, wchar_t** argv) {
  if (argc < 3) return Fail("usage: tooltip-text <hwnd>");
  HWND w = reinterpret_cast<HWND>(static_cast<INT_PTR>(_wtoi64(argv[2])));
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process == nullptr) return Fail("OpenProcess failed");
  constexpr size_t kChars = 1024;
  std::wstring text;
  bool current = false;
  {
    RemoteBuffer remote(process, sizeof(TTTOOLINFOW) + kChars * sizeof(wchar_t));
    if (remote.get() != nullptr) {
      TTTOOLINFOW info{};
      info.cbSize = sizeof info;
      info.lpszText = reinterpret_cast<LPWSTR>(remote.at(sizeof info));
      const std::vector<wchar_t> empty(kChars, L'\0');
      WriteProcessMemory(process, remote.get(), &info, sizeof info, nullptr);
      WriteProcessMemory(process, remote.at(sizeof info), empty.data(), kChars * sizeof(wchar_t),
                         nullptr);
      current = Ask(w, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(remote.get())) > 0;
      if (current) {
        // The tool as it was read back identifies it for TTM_GETTEXTW, into the same buffer.
        ReadProcessMemory(process, remote.get(), &info, sizeof info, nullptr);
        info.lpszText = reinterpret_cast<LPWSTR>(remote.at(sizeof info));
        WriteProcessMemory(process, remote.get(), &info, sizeof info, nullptr);
        Ask(w, TTM_GETTEXTW, kChars, reinterpret_cast<LPARAM>(remote.get()));
        std::vector<wchar_t> got(kChars, L'\0');
        ReadProcessMemory(process, remote.at(sizeof info), got.data(), kChars * sizeof(wchar_t),
                          nullptr);
        got.back() = L'\0';
        text = got.data();
      }
    }
  }
  CloseHandle(process);
  Emit("{\"current\":" + Bool(current) + ",\"text\":" + Quote(text) + "}");
  return 0;
}

int RunCommand(int argc, wchar_t** argv) {
  const std::wstring cmd = argv[1];
  if (cmd == L"window") return CmdWindow(argc, argv);
  if (cmd == L"windows") return CmdWindows();
  if (cmd == L"gamma") return CmdGamma();
  if (cmd == L"set-gamma") return CmdSetGamma(argc, argv);
  if (cmd == L"atom") return CmdAtom(argc, argv);
  if (cmd == L"delete-atom") return CmdDeleteAtom(argc, argv);
  if (cmd == L"nc-hit") return CmdNcHit(argc, argv);
  if (cmd == L"hold-hotkey") return CmdHoldHotkey(argc, argv);
  if (cmd == L"hold-file") return CmdHoldFile(argc, argv);
  if (cmd == L"topmost-window") return CmdTopmostWindow(argc, argv);
  if (cmd == L"screen") return CmdScreen();
  if (cmd == L"monitors") return CmdMonitors();
  if (cmd == L"watch-display") return CmdWatchDisplay(argc, argv);
  if (cmd == L"set-resolution") return CmdSetResolution(argc, argv);
  if (cmd == L"post") return CmdPost(argc, argv);
  if (cmd == L"copy-data") return CmdCopyData(argc, argv);
  if (cmd == L"census") return CmdCensus(argc, argv);
  if (cmd == L"tooltip-text") return CmdTooltipText(argc, argv);
  if (cmd == L"modules") return CmdModules(argc, argv);
  if (cmd == L"display-on") return CmdDisplayOn(argc, argv);
  if (cmd == L"load-library") return CmdLoadLibrary(argc, argv);
  if (cmd == L"taskbar-created") return CmdTaskbarCreated();
  if (cmd == L"forget-tray-icon") return CmdForgetTrayIcon(argc, argv);
  if (cmd == L"idle" && argc >= 3) {
    Emit("{\"idle\":true}");
    PumpFor(_wtof(argv[2]));
    return 0;
  }
  return Fail("unknown command");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  SetProcessDPIAware();
  if (argc < 2) return Fail("usage: lumenor_probe <command> [arguments] [then <command> ...]");
  // Commands chained with "then" run one right after the other in this process, each with its
  // own report, until one fails.
  std::vector<wchar_t*> command{argv[0]};
  for (int k = 1; k <= argc; ++k) {
    if (k < argc && std::wstring(argv[k]) != L"then") {
      command.push_back(argv[k]);
      continue;
    }
    if (command.size() < 2) return Fail("\"then\" with no command before or after it");
    command.push_back(nullptr);
    const int result = RunCommand(static_cast<int>(command.size()) - 1, command.data());
    if (result != 0 || k == argc) return result;
    command.resize(1);
  }
  return 0;
}
