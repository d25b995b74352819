#include "app/main_window_design.h"

namespace lumenor::app {

// Each block holds the host's extent (794 x 794 HIMETRIC, the control's 450 x 450 twips) and the
// keys that differ from the control's defaults: Control, the key code, no Windows key.

// clang-format off
const std::array<std::uint8_t, 152> kHotkeyLeftProperties = {
    // signature 0xB293, length 152
    0x93, 0xB2, 0x00, 0x00, 0x98, 0x00, 0x00, 0x00,
    // "_extentx" = 794: type 3, 8 characters, hash, link 32
    0x03, 0x00, 0x08, 0x00, 0x6C, 0x29, 0xBD, 0x21, 0x20, 0x00, 0x00, 0x00,
    0x5F, 0x00, 0x65, 0x00, 0x78, 0x00, 0x74, 0x00, 0x65, 0x00, 0x6E, 0x00, 0x74, 0x00, 0x78, 0x00,
    0x1A, 0x03, 0x00, 0x00,
    // "_extenty" = 794: type 3, 8 characters, hash, link 32
    0x03, 0x00, 0x08, 0x00, 0xD5, 0xA3, 0xBF, 0x47, 0x20, 0x00, 0x00, 0x00,
    0x5F, 0x00, 0x65, 0x00, 0x78, 0x00, 0x74, 0x00, 0x65, 0x00, 0x6E, 0x00, 0x74, 0x00, 0x79, 0x00,
    0x1A, 0x03, 0x00, 0x00,
    // "ctrlkey" = true: type 11, 7 characters, hash, link 28
    0x0B, 0x00, 0x07, 0x00, 0x4B, 0xD7, 0x24, 0x95, 0x1C, 0x00, 0x00, 0x00,
    0x63, 0x00, 0x74, 0x00, 0x72, 0x00, 0x6C, 0x00, 0x6B, 0x00, 0x65, 0x00, 0x79, 0x00,
    0xFF, 0xFF,
    // "vkey" = 37: type 3, 4 characters, hash, link 24
    0x03, 0x00, 0x04, 0x00, 0x34, 0x6F, 0xB2, 0xFD, 0x18, 0x00, 0x00, 0x00,
    0x76, 0x00, 0x6B, 0x00, 0x65, 0x00, 0x79, 0x00,
    0x25, 0x00, 0x00, 0x00,
    // "winkey" = false: type 11, 6 characters, hash, link -116
    0x0B, 0x00, 0x06, 0x00, 0x0A, 0x7C, 0x18, 0x1E, 0x8C, 0xFF, 0xFF, 0xFF,
    0x77, 0x00, 0x69, 0x00, 0x6E, 0x00, 0x6B, 0x00, 0x65, 0x00, 0x79, 0x00,
    0x00, 0x00, 0x00, 0x00,
};

const std::array<std::uint8_t, 152> kHotkeyRightProperties = {
    // signature 0xB293, length 152
    0x93, 0xB2, 0x00, 0x00, 0x98, 0x00, 0x00, 0x00,
    // "_extentx" = 794: type 3, 8 characters, hash, link 32
    0x03, 0x00, 0x08, 0x00, 0x6C, 0x29, 0xBD, 0x21, 0x20, 0x00, 0x00, 0x00,
    0x5F, 0x00, 0x65, 0x00, 0x78, 0x00, 0x74, 0x00, 0x65, 0x00, 0x6E, 0x00, 0x74, 0x00, 0x78, 0x00,
    0x1A, 0x03, 0x00, 0x00,
    // "_extenty" = 794: type 3, 8 characters, hash, link 32
    0x03, 0x00, 0x08, 0x00, 0xD5, 0xA3, 0xBF, 0x47, 0x20, 0x00, 0x00, 0x00,
    0x5F, 0x00, 0x65, 0x00, 0x78, 0x00, 0x74, 0x00, 0x65, 0x00, 0x6E, 0x00, 0x74, 0x00, 0x79, 0x00,
    0x1A, 0x03, 0x00, 0x00,
    // "ctrlkey" = true: type 11, 7 characters, hash, link 28
    0x0B, 0x00, 0x07, 0x00, 0x4B, 0xD7, 0x24, 0x95, 0x1C, 0x00, 0x00, 0x00,
    0x63, 0x00, 0x74, 0x00, 0x72, 0x00, 0x6C, 0x00, 0x6B, 0x00, 0x65, 0x00, 0x79, 0x00,
    0xFF, 0xFF,
    // "vkey" = 39: type 3, 4 characters, hash, link 24
    0x03, 0x00, 0x04, 0x00, 0x34, 0x6F, 0xB2, 0xFD, 0x18, 0x00, 0x00, 0x00,
    0x76, 0x00, 0x6B, 0x00, 0x65, 0x00, 0x79, 0x00,
    0x27, 0x00, 0x00, 0x00,
    // "winkey" = false: type 11, 6 characters, hash, link -116
    0x0B, 0x00, 0x06, 0x00, 0x0A, 0x7C, 0x18, 0x1E, 0x8C, 0xFF, 0xFF, 0xFF,
    0x77, 0x00, 0x69, 0x00, 0x6E, 0x00, 0x6B, 0x00, 0x65, 0x00, 0x79, 0x00,
    0x00, 0x00, 0x00, 0x00,
};
// clang-format on

namespace {

constexpr TwipsPoint kFrameTwips{285, 1890};  // Frame2, for its members

constexpr Colour kRedLetterBack = Rgb(0xFF, 0xC0, 0xC0);
constexpr Colour kGreenLetterBack = Rgb(0xC0, 0xFF, 0xC0);
constexpr Colour kBlueLetterBack = Rgb(0x80, 0x80, 0xFF);
constexpr Colour kBannerText = Rgb(0xFF, 0xFF, 0x00);
constexpr Colour kBannerBack = Rgb(0x00, 0x00, 0x00);

using K = ControlKind;
using R = ControlRole;

// Each row names only what differs from ControlDesign's defaults (GCC warns of the rest).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
// In tab-index order (0 … 19), which is the order of creation and of the keyboard; then the
// windowless picture under every control and the two hotkey controls, which paint nothing.
// clang-format off
constexpr ControlDesign kControls[] = {
    // Command1, Command2, Frame2
    {.id = 1001, .kind = K::Button, .role = R::Restore, .text = "恢复默认", .twips = {3735, 4695, 1200, 510}},
    {.id = 1002, .kind = K::Button, .role = R::Exit, .text = "退    出", .twips = {4980, 4695, 1200, 510}},
    {.id = 1003, .kind = K::Frame, .text = "色相调整", .twips = {kFrameTwips.x, kFrameTwips.y, 5820, 2535}},
    // Slider3(0) and Label1(0 … 2), members of Frame2
    {.id = 1004, .kind = K::Slider, .role = Slider::Red, .twips = {495, 360, 5130, 495}, .inFrame = true},
    {.id = 1005, .kind = K::Label, .text = "红", .twips = {240, 450, 180, 255}, .inFrame = true,
     .backColour = kRedLetterBack},
    {.id = 1006, .kind = K::Label, .text = "绿", .twips = {240, 1200, 180, 255}, .inFrame = true,
     .backColour = kGreenLetterBack},
    {.id = 1007, .kind = K::Label, .text = "蓝", .twips = {240, 1875, 180, 255}, .inFrame = true,
     .backColour = kBlueLetterBack},
    // Slider3(1), Slider3(2), HScroll_setblack
    {.id = 1008, .kind = K::Slider, .role = Slider::Green, .twips = {495, 1065, 5100, 495}, .inFrame = true},
    {.id = 1009, .kind = K::Slider, .role = Slider::Blue, .twips = {495, 1770, 5115, 495}, .inFrame = true},
    {.id = 1010, .kind = K::ScrollBar, .role = R::Darkness, .twips = {1485, 915, 4545, 270}},
    // Slider1, Label2, Label_liangdu
    {.id = 1011, .kind = K::Slider, .role = Slider::Brightness, .twips = {1335, 255, 4815, 420}},
    {.id = 1012, .kind = K::Label, .role = ValueLabel::Brightness, .text = "1", .twips = {1035, 360, 405, 255}},
    {.id = 1013, .kind = K::Label, .text = "亮度:", .twips = {240, 330, 480, 240}},
    // Slider2, Label3, Label_dbd
    {.id = 1014, .kind = K::Slider, .role = Slider::Contrast, .twips = {1380, 1365, 4740, 375}},
    {.id = 1015, .kind = K::Label, .role = ValueLabel::Contrast, .text = "1", .twips = {1035, 1365, 435, 255}},
    {.id = 1016, .kind = K::Label, .text = "对比度:", .twips = {240, 1365, 720, 330}},
    // Label_zl_show, Check加强
    {.id = 1017, .kind = K::Label, .role = ValueLabel::Darkness, .text = "1", .twips = {1020, 885, 420, 255}},
    {.id = 1018, .kind = K::CheckBox, .role = R::Enhance, .text = "加强:", .twips = {240, 825, 750, 405},
     .font = FontRole::CheckBox},
    // Labelsm, the banner
    {.id = 1019, .kind = K::Label,
     .text = "按住ctrl+←变黑,按住ctrl+→变亮,可实现显示器极限全黑(可欺骗关闭显示器)与高亮调节.Tandwin专版.",
     .twips = {-15, 5250, 6330, 765}, .font = FontRole::Banner, .textColour = kBannerText,
     .backColour = kBannerBack},
    // Command托盘
    {.id = 1020, .kind = K::Button, .role = R::HideToTray, .text = "小到托盘", .twips = {2310, 4710, 1335, 495}},
    // Image
    {.kind = K::Picture, .twips = {-3420, 3270, 5730, 4770}},
    // VBHotKeyleft, VBHotKeyright
    {.kind = K::Hotkey, .role = R::DarkerHotkey, .twips = {6135, 1365, 450, 450},
     .storedProperties = kHotkeyLeftProperties},
    {.kind = K::Hotkey, .role = R::BrighterHotkey, .twips = {6060, 195, 450, 450},
     .storedProperties = kHotkeyRightProperties},
};
// clang-format on
#pragma GCC diagnostic pop

}  // namespace

constexpr FormDesign kMainWindowDesign{
    kControls, kFrameTwips, {{{"微软雅黑", 9}, {"宋体", 9}, {"微软雅黑", 12}}}};  // by FontRole

}  // namespace lumenor::app
