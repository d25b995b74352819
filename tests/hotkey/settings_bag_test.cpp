#include "hotkey/settings_bag.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "app/main_window_design.h"
#include "hotkey/hotkey_errors.h"
#include "hotkey/vb_hot_key.h"
#include "hotkey_test_fixture.h"
#include "support/fake_hotkey_host.h"

namespace lumenor::testing {
namespace {

using hotkey::BagValue;
using hotkey::BagValueType;
using hotkey::kFalse;
using hotkey::kTrue;
using hotkey::SettingsBag;
using hotkey::VBHotKey;

using Bytes = std::vector<std::uint8_t>;

Bytes LeftBlock() {
  return Bytes(app::kHotkeyLeftProperties.begin(), app::kHotkeyLeftProperties.end());
}

TEST(SettingsBag_ReadValue, AbsentKeyGivesTheDefault) {
  SettingsBag bag;
  EXPECT_EQ(bag.ReadValue("VKey", BagValue::Long(65)), BagValue::Long(65));
  EXPECT_EQ(bag.ReadValue("WinKey", BagValue::Boolean(kTrue)), BagValue::Boolean(kTrue));
}

TEST(SettingsBag_ReadValue, KeysMatchWithoutRegardToCase) {
  SettingsBag bag;
  bag.WriteValue("CtrlKey", BagValue::Boolean(kTrue), BagValue::Boolean(kFalse));
  EXPECT_EQ(bag.ReadValue("ctrlkey", BagValue::Boolean(kFalse)).ToBoolean(), kTrue);
  EXPECT_EQ(bag.ReadValue("CTRLKEY", BagValue::Boolean(kFalse)).ToBoolean(), kTrue);
  ASSERT_EQ(bag.Entries().size(), 1u);
  EXPECT_EQ(bag.Entries()[0].name, u"ctrlkey") << "kept in lower case";
}

TEST(SettingsBag_ReadValue, ConvertsToTheTypeOfTheDefault) {
  SettingsBag bag;
  bag.WriteValue("a", BagValue::Boolean(kTrue), BagValue::Long(0));
  bag.WriteValue("b", BagValue::Long(5), BagValue::Boolean(kFalse));
  bag.WriteValue("c", BagValue::Text(u" -12 "), BagValue::Long(0));
  bag.WriteValue("d", BagValue::Text(u"true"), BagValue::Long(0));
  bag.WriteValue("e", BagValue::Long(-7), BagValue::Long(0));
  EXPECT_EQ(bag.ReadValue("a", BagValue::Long(65)), BagValue::Long(-1));
  EXPECT_EQ(bag.ReadValue("b", BagValue::Boolean(kFalse)), BagValue::Boolean(kTrue));
  EXPECT_EQ(bag.ReadValue("c", BagValue::Long(0)), BagValue::Long(-12));
  EXPECT_EQ(bag.ReadValue("d", BagValue::Boolean(kFalse)), BagValue::Boolean(kTrue));
  EXPECT_EQ(bag.ReadValue("e", BagValue::Text(u"")), BagValue::Text(u"-7"));
}

TEST(SettingsBag_ReadValue, ValueThatDoesNotConvertIsATypeMismatch) {
  SettingsBag bag;
  bag.WriteValue("VKey", BagValue::Text(u"Left"), BagValue::Long(65));
  bag.WriteValue("Big", BagValue::Text(u"99999999999"), BagValue::Long(0));
  EXPECT_THROW(bag.ReadValue("VKey", BagValue::Long(65)), hotkey::TypeMismatchError);
  EXPECT_THROW(bag.ReadValue("VKey", BagValue::Boolean(kTrue)), hotkey::TypeMismatchError);
  EXPECT_THROW(bag.ReadValue("Big", BagValue::Long(0)), hotkey::OverflowError);
}

TEST(SettingsBag_WriteValue, ValueEqualToItsDefaultIsNotStored) {
  SettingsBag bag;
  bag.WriteValue("VKey", BagValue::Long(65), BagValue::Long(65));
  bag.WriteValue("WinKey", BagValue::Boolean(kTrue), BagValue::Boolean(kTrue));
  EXPECT_TRUE(bag.Entries().empty());

  bag.WriteValue("VKey", BagValue::Long(37), BagValue::Long(65));
  bag.WriteValue("VKey", BagValue::Long(65), BagValue::Long(65));
  EXPECT_TRUE(bag.Entries().empty()) << "writing the default again forgets the earlier value";
}

TEST(SettingsBag_WriteValue, StoresTheValuesOwnTypeInWritingOrder) {
  SettingsBag bag;
  bag.WriteValue("b", BagValue::Long(1), BagValue::Long(0));
  bag.WriteValue("a", BagValue::Boolean(kTrue), BagValue::Long(0));
  bag.WriteValue("B", BagValue::Long(2), BagValue::Long(0));
  ASSERT_EQ(bag.Entries().size(), 2u);
  EXPECT_EQ(bag.Entries()[0].name, u"b");
  EXPECT_EQ(bag.Entries()[0].value, BagValue::Long(2)) << "rewritten in place";
  EXPECT_EQ(bag.Entries()[1].value.Type(), BagValueType::Boolean);
}

TEST(SettingsBag_WriteValue, KeyThatIsNotUtf8IsRefused) {
  SettingsBag bag;
  EXPECT_THROW(bag.WriteValue("\xC3", BagValue::Long(1), BagValue::Long(0)),
               hotkey::InvalidKeyError);
  EXPECT_THROW(bag.WriteValue("\xED\xA0\x80", BagValue::Long(1), BagValue::Long(0)),
               hotkey::InvalidKeyError);
  EXPECT_TRUE(bag.Entries().empty());
}

TEST(SettingsBag_StoredForm, EmptyBagIsItsHeaderAlone) {
  EXPECT_EQ(SettingsBag().ToBlock(), (Bytes{0x93, 0xB2, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00}));
  EXPECT_TRUE(SettingsBag::FromBlock(SettingsBag().ToBlock()).Entries().empty());
}

TEST(SettingsBag_StoredForm, EntryLayoutTypeLengthLinkNameValueFill) {
  SettingsBag bag;
  bag.WriteValue("WinKey", BagValue::Boolean(kFalse), BagValue::Boolean(kTrue));
  bag.WriteValue("VKey", BagValue::Long(0x01020304), BagValue::Long(65));
  const Bytes block = bag.ToBlock();
  ASSERT_EQ(block.size(), 8u + 28u + 24u);
  EXPECT_EQ(block[4], 60);
  // "winkey": type 11, 6 characters, link 28, name, false (00 00) and two fill bytes.
  EXPECT_EQ(block[8], 11);
  EXPECT_EQ(block[10], 6);
  EXPECT_EQ(block[16], 28);
  EXPECT_EQ(block[20], 'w');
  EXPECT_EQ(block[21], 0);
  EXPECT_EQ(block[30], 'y');
  EXPECT_EQ((Bytes{block.begin() + 32, block.begin() + 36}), (Bytes{0, 0, 0, 0}));
  // "vkey": type 3, link back to the first entry: -28.
  EXPECT_EQ(block[36], 3);
  EXPECT_EQ((Bytes{block.begin() + 44, block.begin() + 48}), (Bytes{0xE4, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ((Bytes{block.begin() + 56, block.begin() + 60}), (Bytes{4, 3, 2, 1}));
}

TEST(SettingsBag_StoredForm, EveryTypeComesBack) {
  SettingsBag bag;
  bag.WriteValue("n", BagValue::Long(-2147483647 - 1), BagValue::Long(0));
  bag.WriteValue("t", BagValue::Boolean(kTrue), BagValue::Boolean(kFalse));
  bag.WriteValue("text", BagValue::Text(u"亮度 x"), BagValue::Text(u""));
  bag.WriteValue("名字", BagValue::Long(1), BagValue::Long(0));
  const SettingsBag back = SettingsBag::FromBlock(bag.ToBlock());
  ASSERT_EQ(back.Entries().size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(back.Entries()[i].name, bag.Entries()[i].name);
    EXPECT_EQ(back.Entries()[i].value, bag.Entries()[i].value);
  }
  EXPECT_EQ(back.ToBlock(), bag.ToBlock());
  EXPECT_EQ(back.ReadValue("名字", BagValue::Long(0)), BagValue::Long(1));
}

TEST(SettingsBag_StoredForm, LeftBlockHoldsTheHostsExtentAndThreeKeys) {
  const SettingsBag bag = SettingsBag::FromBlock(app::kHotkeyLeftProperties);
  ASSERT_EQ(bag.Entries().size(), 5u);
  EXPECT_EQ(bag.Entries()[0].name, u"_extentx");
  EXPECT_EQ(bag.Entries()[0].value, BagValue::Long(794));
  EXPECT_EQ(bag.Entries()[1].name, u"_extenty");
  EXPECT_EQ(bag.Entries()[1].value, BagValue::Long(794));
  EXPECT_EQ(bag.Entries()[2].name, u"ctrlkey");
  EXPECT_EQ(bag.Entries()[2].value, BagValue::Boolean(kTrue));
  EXPECT_EQ(bag.Entries()[3].name, u"vkey");
  EXPECT_EQ(bag.Entries()[3].value, BagValue::Long(37));
  EXPECT_EQ(bag.Entries()[4].name, u"winkey");
  EXPECT_EQ(bag.Entries()[4].value, BagValue::Boolean(kFalse));
  EXPECT_EQ(SettingsBag::FromBlock(app::kHotkeyRightProperties).Entries()[3].value,
            BagValue::Long(39));
}

TEST(SettingsBag_StoredForm, AnyNonZeroTruthValueReadsTrueAndIsWrittenBackAsMinusOne) {
  // In the left block ctrlkey's value (true) stands at 98 and winkey's (false) at 148.
  Bytes written = LeftBlock();
  written[148] = written[149] = 0xFF;
  for (const std::uint16_t stored :
       std::initializer_list<std::uint16_t>{0x0001, 0x7FFF, 0x8000, 0xFFFE}) {
    Bytes block = LeftBlock();
    for (const std::size_t at : {98u, 148u}) {
      block[at] = static_cast<std::uint8_t>(stored & 0xFF);
      block[at + 1] = static_cast<std::uint8_t>(stored >> 8);
    }
    const SettingsBag bag = SettingsBag::FromBlock(block);
    EXPECT_EQ(bag.Entries()[2].value, BagValue::Boolean(kTrue)) << stored;
    EXPECT_EQ(bag.Entries()[4].value, BagValue::Boolean(kTrue)) << stored;
    EXPECT_EQ(bag.ToBlock(), written) << stored;
  }
}

TEST(SettingsBag_FromBlock, EveryCutOfABlockIsRefused) {
  const Bytes block = LeftBlock();
  for (std::size_t length = 0; length < block.size(); ++length) {
    Bytes cut(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_THROW(SettingsBag::FromBlock(cut), hotkey::BadSettingsBlockError) << length;
    // Also with the length field telling the truth about the shorter block.
    if (length >= 8) {
      cut[4] = static_cast<std::uint8_t>(length);
      if (length == 8) continue;  // the header alone is the empty bag
      // A cut between entries leaves a last entry whose link still leads forward.
      EXPECT_THROW(SettingsBag::FromBlock(cut), hotkey::BadSettingsBlockError) << length;
    }
  }
}

struct Corruption {
  const char* what;
  std::size_t offset;
  std::uint8_t value;
};

class SettingsBag_FromBlockTable : public ::testing::TestWithParam<Corruption> {};

TEST_P(SettingsBag_FromBlockTable, MalformedBlockIsRefused) {
  Bytes block = LeftBlock();
  block[GetParam().offset] = GetParam().value;
  EXPECT_THROW(SettingsBag::FromBlock(block), hotkey::BadSettingsBlockError) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Left, SettingsBag_FromBlockTable,
    ::testing::Values(Corruption{"signature", 0, 0x94}, Corruption{"signature high", 2, 0x01},
                      Corruption{"length", 4, 0x97}, Corruption{"length high", 5, 0x01},
                      Corruption{"unknown type", 8, 0x05}, Corruption{"name too long", 11, 0xFF},
                      Corruption{"hash", 12, 0x00}, Corruption{"link", 16, 0x24},
                      Corruption{"last link", 132, 0x8D}, Corruption{"upper-case name", 20, 'E'},
                      Corruption{"name changed", 22, 'f'}, Corruption{"fill", 150, 0x01}));

TEST(SettingsBag_FromBlock, SameNameTwiceIsRefused) {
  SettingsBag bag;
  bag.WriteValue("aa", BagValue::Long(1), BagValue::Long(0));
  bag.WriteValue("ab", BagValue::Long(2), BagValue::Long(0));
  Bytes block = bag.ToBlock();
  // Entries are 20 bytes: make the second one a copy of the first's name and hash.
  std::copy(block.begin() + 12, block.begin() + 16, block.begin() + 32);
  std::copy(block.begin() + 20, block.begin() + 24, block.begin() + 40);
  EXPECT_THROW(SettingsBag::FromBlock(block), hotkey::BadSettingsBlockError);
}

TEST(SettingsBag_FromBlock, AnyFlippedBitEitherParsesOrIsRefused) {
  const Bytes block = LeftBlock();
  for (std::size_t i = 0; i < block.size(); ++i) {
    for (int bit = 0; bit < 8; ++bit) {
      Bytes flipped = block;
      flipped[i] = static_cast<std::uint8_t>(flipped[i] ^ (1u << bit));
      try {
        const SettingsBag bag = SettingsBag::FromBlock(flipped);
        // Only a value can change without breaking the block.
        EXPECT_EQ(bag.Entries().size(), 5u) << i << ":" << bit;
      } catch (const hotkey::BadSettingsBlockError&) {
      }
    }
  }
}

TEST(SettingsBag_FromBlock, TextClaimingMoreBytesThanTheBlockIsRefused) {
  SettingsBag bag;
  bag.WriteValue("t", BagValue::Text(u"ab"), BagValue::Text(u""));
  Bytes block = bag.ToBlock();
  // The text's byte count sits after the 12-byte entry header and the 2-byte name.
  block[8 + 12 + 2 + 3] = 0xFF;
  EXPECT_THROW(SettingsBag::FromBlock(block), hotkey::BadSettingsBlockError);
}

class VBHotKeyPropertiesTest : public HotkeyTest {
 protected:
  void SetUp() override {
    HotkeyTest::SetUp();
    host.window = system.AddWindow();
    control.OnCreate();
  }
  // The host's two entries come first, then the control's own.
  Bytes Save() {
    SettingsBag bag;
    bag.WriteValue("_ExtentX", BagValue::Long(794), BagValue::Long(0));
    bag.WriteValue("_ExtentY", BagValue::Long(794), BagValue::Long(0));
    control.SaveProperties(bag);
    return bag.ToBlock();
  }

  FakeHotkeyHost host;
  VBHotKey control{host, system, system};
};

using VBHotKey_SaveProperties = VBHotKeyPropertiesTest;
TEST_F(VBHotKey_SaveProperties, LoadedLeftGivesItsExactBlock) {
  control.LoadProperties(SettingsBag::FromBlock(app::kHotkeyLeftProperties));
  EXPECT_EQ(Save(), LeftBlock());
  control.OnDestroy();
}

TEST_F(VBHotKey_SaveProperties, LoadedRightGivesItsExactBlock) {
  control.LoadProperties(SettingsBag::FromBlock(app::kHotkeyRightProperties));
  EXPECT_EQ(Save(), Bytes(app::kHotkeyRightProperties.begin(), app::kHotkeyRightProperties.end()));
  control.OnDestroy();
}

TEST_F(VBHotKey_SaveProperties, StoredTruthValueOfOneLoadsTrueAndSavesLikeMinusOne) {
  Bytes block = LeftBlock();
  block[98] = 0x01;  // ctrlkey: 1 instead of -1
  block[99] = 0x00;
  block[148] = 0x01;  // winkey: 1 instead of 0, so true: its default
  control.LoadProperties(SettingsBag::FromBlock(block));
  EXPECT_EQ(control.CtrlKey(), kTrue);
  EXPECT_EQ(control.WinKey(), kTrue);
  // ctrlkey goes back as -1; winkey, now at its default, is left out.
  SettingsBag expected;
  expected.WriteValue("_ExtentX", BagValue::Long(794), BagValue::Long(0));
  expected.WriteValue("_ExtentY", BagValue::Long(794), BagValue::Long(0));
  expected.WriteValue("CtrlKey", BagValue::Boolean(kTrue), BagValue::Boolean(kFalse));
  expected.WriteValue("VKey", BagValue::Long(37), BagValue::Long(65));
  const Bytes saved = Save();
  EXPECT_EQ(saved, expected.ToBlock());
  EXPECT_EQ(saved.size(), 124u);
  control.OnDestroy();
}

TEST_F(VBHotKey_SaveProperties, AllDefaultsStoresNoKey) {
  control.InitDefaults();
  SettingsBag bag;
  control.SaveProperties(bag);
  EXPECT_TRUE(bag.Entries().empty());

  control.InitDefaults();
  control.LoadProperties(SettingsBag{});
  EXPECT_EQ(control.AltKey(), kFalse);
  EXPECT_EQ(control.ShiftKey(), kFalse);
  EXPECT_EQ(control.CtrlKey(), kFalse);
  EXPECT_EQ(control.vKey(), 65);
  EXPECT_EQ(control.WinKey(), kTrue);
  EXPECT_EQ(control.Enabled(), kTrue);
  control.OnDestroy();
}

TEST_F(VBHotKey_SaveProperties, ValuesBackAtTheirDefaultsAreLeftOut) {
  host.userMode = false;
  control.LoadProperties(SettingsBag::FromBlock(app::kHotkeyLeftProperties));
  control.WinKey(kTrue);
  control.vKey(65);
  SettingsBag bag;
  control.SaveProperties(bag);
  ASSERT_EQ(bag.Entries().size(), 1u);
  EXPECT_EQ(bag.Entries()[0].name, u"ctrlkey");
}

TEST_F(VBHotKey_SaveProperties, WritesInItsOrderWithItsTypes) {
  host.userMode = false;
  control.InitDefaults();
  control.Enabled(kFalse);
  control.WinKey(kFalse);
  control.vKey(9);
  control.ShiftKey(kTrue);
  control.AltKey(kTrue);
  control.CtrlKey(kTrue);
  SettingsBag bag;
  control.SaveProperties(bag);
  ASSERT_EQ(bag.Entries().size(), 6u);
  const std::u16string order[] = {u"altkey", u"shiftkey", u"ctrlkey",
                                  u"vkey",   u"winkey",   u"enabled"};
  for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(bag.Entries()[i].name, order[i]);
  EXPECT_EQ(bag.Entries()[3].value, BagValue::Long(9));
  EXPECT_EQ(bag.Entries()[5].value, BagValue::Boolean(kFalse));
}

using VBHotKey_LoadPropertiesFromBag = VBHotKeyPropertiesTest;
TEST_F(VBHotKey_LoadPropertiesFromBag, CodeStoredAsTruthValueLoadsMinusOne) {
  host.userMode = false;
  SettingsBag bag;
  bag.WriteValue("vkey", BagValue::Boolean(kTrue), BagValue::Long(65));
  control.LoadProperties(SettingsBag::FromBlock(bag.ToBlock()));
  EXPECT_EQ(control.vKey(), -1);
}

TEST_F(VBHotKey_LoadPropertiesFromBag, NumberLoadsIntoAFlagAsTruth) {
  host.userMode = false;
  SettingsBag bag;
  bag.WriteValue("ShiftKey", BagValue::Long(4), BagValue::Boolean(kFalse));
  control.LoadProperties(bag);
  EXPECT_EQ(control.ShiftKey(), kTrue);
}

TEST_F(VBHotKey_LoadPropertiesFromBag, TypeMismatchEndsTheLoadKeepingEarlierFields) {
  control.InitDefaults();
  SettingsBag bag;
  bag.WriteValue("AltKey", BagValue::Boolean(kTrue), BagValue::Boolean(kFalse));
  bag.WriteValue("CtrlKey", BagValue::Boolean(kTrue), BagValue::Boolean(kFalse));
  bag.WriteValue("VKey", BagValue::Text(u"Left"), BagValue::Long(65));
  bag.WriteValue("WinKey", BagValue::Boolean(kFalse), BagValue::Boolean(kTrue));
  bag.WriteValue("Enabled", BagValue::Boolean(kFalse), BagValue::Boolean(kTrue));
  EXPECT_THROW(control.LoadProperties(bag), hotkey::TypeMismatchError);
  EXPECT_EQ(control.AltKey(), kTrue);
  EXPECT_EQ(control.CtrlKey(), kTrue);
  EXPECT_EQ(control.vKey(), 65);
  EXPECT_EQ(control.WinKey(), kTrue);
  EXPECT_EQ(control.Enabled(), kTrue);
  EXPECT_TRUE(system.registerCalls.empty());
  EXPECT_FALSE(hotkey::HotkeyControlsExist());
}

}  // namespace
}  // namespace lumenor::testing
