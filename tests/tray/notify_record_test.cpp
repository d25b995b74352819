#include "tray/notify_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumenor::tray {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes FieldBytes(const NotifyRecord& record, std::size_t offset, std::size_t size) {
  const auto all = record.Bytes();
  return {all.begin() + static_cast<std::ptrdiff_t>(offset),
          all.begin() + static_cast<std::ptrdiff_t>(offset + size)};
}

// text's bytes, one NUL, blanks up to size.
Bytes Filled(const std::string& text, std::size_t size) {
  Bytes bytes(text.begin(), text.end());
  bytes.push_back(0);
  bytes.resize(size, ' ');
  return bytes;
}

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

const NotifyRecordLayout* const kBothLayouts[] = {&kNotifyLayout32, &kNotifyLayout64};

TEST(NotifyRecord_SetTip, ProgramTooltipIsItsUtf8BytesThenNulThenBlanks) {
  // 显示器亮度调节增强 in UTF-8: nine characters of three bytes each.
  const Bytes expectedText = {0xE6, 0x98, 0xBE, 0xE7, 0xA4, 0xBA, 0xE5, 0x99, 0xA8,
                              0xE4, 0xBA, 0xAE, 0xE5, 0xBA, 0xA6, 0xE8, 0xB0, 0x83,
                              0xE8, 0x8A, 0x82, 0xE5, 0xA2, 0x9E, 0xE5, 0xBC, 0xBA};
  for (const auto* layout : kBothLayouts) {
    NotifyRecord record(*layout);
    record.SetTip(kTrayTooltip);
    const Bytes tip = FieldBytes(record, layout->szTip, kTipBytes);
    ASSERT_EQ(tip.size(), 128u);
    EXPECT_EQ(Bytes(tip.begin(), tip.begin() + 27), expectedText);
    EXPECT_EQ(tip[27], 0);
    EXPECT_EQ(Bytes(tip.begin() + 28, tip.end()), Bytes(100, ' '));
    // The neighbours are untouched.
    EXPECT_EQ(record.ReadHandle(layout->hIcon), 0u);
    EXPECT_EQ(record.ReadU32(layout->dwState), 0u);
  }
}

struct FitCase {
  const char* name;
  std::string text;
  std::size_t field;
  std::string kept;  // what stands before the NUL
};

TEST(FitText, CutsAtCharacterBoundaryAndKeepsTheNulInsideTheField) {
  const std::string han = "亮";  // three bytes
  const FitCase cases[] = {
      {"empty", "", 64, ""},
      {"ascii that fits with its NUL", std::string(63, 'a'), 64, std::string(63, 'a')},
      {"ascii one byte too long", std::string(64, 'a'), 64, std::string(63, 'a')},
      {"ascii far too long", std::string(300, 'b'), 256, std::string(255, 'b')},
      {"21 characters fill 63 bytes", Repeat(han, 21), 64, Repeat(han, 21)},
      {"22 characters keep 21", Repeat(han, 22), 64, Repeat(han, 21)},
      {"a character straddling the NUL's byte is dropped whole", "a" + Repeat(han, 21), 64,
       "a" + Repeat(han, 20)},
      {"86 characters in the balloon text keep 85", Repeat(han, 86), 256, Repeat(han, 85)},
      {"two-byte characters", Repeat("é", 40), 64, Repeat("é", 31)},
      {"four-byte characters", Repeat("😀", 20), 64, Repeat("😀", 15)},
  };
  for (const auto& c : cases) {
    Bytes field(c.field, 0xAA);
    FitText(field, c.text);
    EXPECT_EQ(field, Filled(c.kept, c.field)) << c.name;
  }
}

TEST(NotifyRecord_SetInfo, BalloonLongerThanItsFieldsEndsWithNulInsideEachField) {
  const std::string title = Repeat("调", 30);  // 90 bytes for a 64-byte field
  const std::string text = Repeat("节", 100);  // 300 bytes for a 256-byte field
  for (const auto* layout : kBothLayouts) {
    NotifyRecord record(*layout);
    record.SetInfoTitle(title);
    record.SetInfo(text);
    EXPECT_EQ(FieldBytes(record, layout->szInfoTitle, kInfoTitleBytes),
              Filled(Repeat("调", 21), kInfoTitleBytes));
    EXPECT_EQ(FieldBytes(record, layout->szInfo, kInfoBytes), Filled(Repeat("节", 85), kInfoBytes));
    // Neither spills into the fields behind it.
    EXPECT_EQ(record.ReadU32(layout->uTimeout), 0u);
    EXPECT_EQ(record.ReadU32(layout->dwInfoFlags), 0u);
  }
}

TEST(NotifyRecord_SetInfo, EmptyTextsAreOneNulThenBlanks) {
  NotifyRecord record;
  record.SetInfoTitle("标题");
  record.SetInfo("内容");
  record.SetInfoTitle("");
  record.SetInfo("");
  EXPECT_EQ(FieldBytes(record, kNotifyLayout.szInfoTitle, kInfoTitleBytes), Filled("", 64));
  EXPECT_EQ(FieldBytes(record, kNotifyLayout.szInfo, kInfoBytes), Filled("", 256));
}

// The offsets of NOTIFYICONDATAA as the Windows header lays it out, with a 128-byte tooltip, the
// balloon fields and no GUID.
struct HeaderOffsets {
  std::size_t pointer, hWnd, uID, uFlags, uCallbackMessage, hIcon, szTip, dwState, dwStateMask,
      szInfo, uTimeout, szInfoTitle, dwInfoFlags, size;
};

std::uint64_t ReadLittleEndian(std::span<const std::uint8_t> bytes, std::size_t offset,
                               std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value |= std::uint64_t{bytes[offset + i]} << (8 * i);
  return value;
}

TEST(NotifyRecord_Bytes, EveryFixedFieldStandsAtTheHeadersOffset) {
  const HeaderOffsets headers[] = {
      {4, 4, 8, 12, 16, 20, 24, 152, 156, 160, 416, 420, 484, 488},
      {8, 8, 16, 20, 24, 32, 40, 168, 172, 176, 432, 436, 500, 504},
  };
  for (const auto& h : headers) {
    SCOPED_TRACE(h.size);
    NotifyRecord record(MakeNotifyRecordLayout(h.pointer));
    record.SetWindow(0x1122334455667788u);
    record.SetId(0x0A0B0C0Du);
    record.SetFlags(kTrayFlags);
    record.SetCallbackMessage(kTrayCallbackMessage);
    record.SetIcon(0x8877665544332211u);
    record.SetTip("t");
    record.SetInfo("i");
    record.SetInfoTitle("h");
    const auto bytes = record.Bytes();
    ASSERT_EQ(bytes.size(), h.size);
    EXPECT_EQ(ReadLittleEndian(bytes, 0, 4), h.size);  // cbSize
    const std::uint64_t handleMask = h.pointer == 8 ? ~0ull : 0xFFFFFFFFull;
    EXPECT_EQ(ReadLittleEndian(bytes, h.hWnd, h.pointer), 0x1122334455667788u & handleMask);
    EXPECT_EQ(ReadLittleEndian(bytes, h.uID, 4), 0x0A0B0C0Du);
    EXPECT_EQ(ReadLittleEndian(bytes, h.uFlags, 4), 0x17u);
    EXPECT_EQ(ReadLittleEndian(bytes, h.uCallbackMessage, 4), 0x200u);
    EXPECT_EQ(ReadLittleEndian(bytes, h.hIcon, h.pointer), 0x8877665544332211u & handleMask);
    EXPECT_EQ(bytes[h.szTip], 't');
    EXPECT_EQ(bytes[h.szTip + 1], 0);
    EXPECT_EQ(bytes[h.szTip + 127], ' ');
    EXPECT_EQ(ReadLittleEndian(bytes, h.dwState, 4), 0u);
    EXPECT_EQ(ReadLittleEndian(bytes, h.dwStateMask, 4), 0u);
    EXPECT_EQ(bytes[h.szInfo], 'i');
    EXPECT_EQ(bytes[h.szInfo + 255], ' ');
    EXPECT_EQ(ReadLittleEndian(bytes, h.uTimeout, 4), 0u);
    EXPECT_EQ(bytes[h.szInfoTitle], 'h');
    EXPECT_EQ(bytes[h.szInfoTitle + 63], ' ');
    EXPECT_EQ(ReadLittleEndian(bytes, h.dwInfoFlags, 4), 0u);
    // Alignment gaps stay zero.
    if (h.pointer == 8) {
      EXPECT_EQ(ReadLittleEndian(bytes, 4, 4), 0u);
      EXPECT_EQ(ReadLittleEndian(bytes, 28, 4), 0u);
    }
  }
}

TEST(NotifyRecord_Bytes, SizeMatchesThisBuildsPointerSize) {
  NotifyRecord record;
  EXPECT_EQ(record.Bytes().size(), sizeof(void*) == 8 ? 504u : 488u);
  EXPECT_EQ(record.ReadU32(0), record.Bytes().size());
}

}  // namespace
}  // namespace lumenor::tray
