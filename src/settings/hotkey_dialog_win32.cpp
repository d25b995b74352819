#include "settings/hotkey_dialog_win32.h"

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/text_win32.h"

namespace lumenor::settings {

namespace {

constexpr int kDarkerField = 101;
constexpr int kBrighterField = 102;
constexpr wchar_t kCaption[] = L"快捷键";

// The hotkey field's flags (HOTKEYF_*) and the hotkey record's (Alt 1, Ctrl 2, Shift 4, Win 8).
// The field has no Windows key: a key shown unchanged keeps the one it had.
WORD FieldValue(const KeyChoice& key) {
  BYTE flags = 0;
  if (key.modifiers & 1) flags |= HOTKEYF_ALT;
  if (key.modifiers & 2) flags |= HOTKEYF_CONTROL;
  if (key.modifiers & 4) flags |= HOTKEYF_SHIFT;
  // The navigation keys are the extended ones: without the flag the field names the keypad's.
  const int vk = key.virtualKey;
  if ((vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE ||
      vk == VK_DIVIDE || vk == VK_NUMLOCK) {
    flags |= HOTKEYF_EXT;
  }
  return MAKEWORD(static_cast<BYTE>(vk), flags);
}

KeyChoice FromField(WORD value) {
  const BYTE flags = HIBYTE(value);
  std::int32_t modifiers = 0;
  if (flags & HOTKEYF_ALT) modifiers |= 1;
  if (flags & HOTKEYF_CONTROL) modifiers |= 2;
  if (flags & HOTKEYF_SHIFT) modifiers |= 4;
  return KeyChoice{modifiers, LOBYTE(value)};
}

struct DialogState {
  KeyPair inForce;
  KeyPair chosen;
};

KeyChoice Read(HWND dialog, int field, const KeyChoice& inForce) {
  const auto value = static_cast<WORD>(SendDlgItemMessageW(dialog, field, HKM_GETHOTKEY, 0, 0));
  return value == FieldValue(inForce) ? inForce : FromField(value);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      state = reinterpret_cast<DialogState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      SendDlgItemMessageW(dialog, kDarkerField, HKM_SETHOTKEY, FieldValue(state->inForce.darker), 0);
      SendDlgItemMessageW(dialog, kBrighterField, HKM_SETHOTKEY,
                          FieldValue(state->inForce.brighter), 0);
      SetForegroundWindow(dialog);
      return TRUE;  // the focus to the first field
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK && state != nullptr) {
        const KeyPair chosen{Read(dialog, kDarkerField, state->inForce.darker),
                             Read(dialog, kBrighterField, state->inForce.brighter)};
        if (const auto problem = KeyPairProblem(chosen.darker, chosen.brighter)) {
          MessageBoxW(dialog, platform::Utf16(*problem).c_str(), kCaption, MB_OK | MB_ICONWARNING);
          return TRUE;
        }
        state->chosen = chosen;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

// A dialog template in memory: DLGTEMPLATE, its strings, then each item DWORD-aligned.
class Template {
 public:
  void Word(WORD w) { words_.push_back(w); }
  void Text(const wchar_t* text) {
    for (; *text != L'\0'; ++text) Word(static_cast<WORD>(*text));
    Word(0);
  }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Align() {
    if (words_.size() % 2 != 0) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, const wchar_t* windowClass,
            WORD classOrdinal, const wchar_t* text) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);  // extended style
    for (short v : {x, y, cx, cy}) Word(static_cast<WORD>(v));
    Word(id);
    if (windowClass != nullptr) {
      Text(windowClass);
    } else {
      Word(0xFFFF);
      Word(classOrdinal);
    }
    Text(text);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
  std::vector<WORD>& Words() { return words_; }

 private:
  std::vector<WORD> words_;
};

constexpr WORD kButton = 0x0080;
constexpr WORD kStatic = 0x0082;

Template MakeTemplate() {
  Template t;
  t.Dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);  // extended style
  t.Word(6);   // items
  for (int v : {0, 0, 176, 78}) t.Word(static_cast<WORD>(v));
  t.Word(0);  // no menu
  t.Word(0);  // the standard dialog class
  t.Text(kCaption);
  t.Word(9);
  t.Text(L"微软雅黑");
  t.Item(SS_LEFT, 10, 13, 40, 10, 0xFFFF, nullptr, kStatic, L"变暗");
  t.Item(WS_BORDER | WS_TABSTOP, 52, 10, 114, 14, kDarkerField, HOTKEY_CLASSW, 0, L"");
  t.Item(SS_LEFT, 10, 33, 40, 10, 0xFFFF, nullptr, kStatic, L"变亮");
  t.Item(WS_BORDER | WS_TABSTOP, 52, 30, 114, 14, kBrighterField, HOTKEY_CLASSW, 0, L"");
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 62, 56, 50, 14, IDOK, nullptr, kButton, L"确定");
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 116, 56, 50, 14, IDCANCEL, nullptr, kButton, L"取消");
  return t;
}

}  // namespace

std::optional<KeyPair> AskForHotkeys(HINSTANCE instance, HWND owner, const KeyPair& inForce) {
  const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_HOTKEY_CLASS};
  InitCommonControlsEx(&controls);
  const Template dialog = MakeTemplate();
  DialogState state{inForce, inForce};
  // The dialog manager creates, runs and destroys the window: nothing outlives the call.
  const INT_PTR answer = DialogBoxIndirectParamW(instance, dialog.Get(), owner, DialogProcedure,
                                                 reinterpret_cast<LPARAM>(&state));
  if (answer != IDOK) return std::nullopt;
  return state.chosen;
}

}  // namespace lumenor::settings
