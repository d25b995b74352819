// Any bytes as a hotkey control's stored property block. Beyond surviving, the parser must agree
// with a second, separately written reading of the stored form about which blocks are sound and
// what they hold; a block it reads must write back as the same bytes (a truth value other than
// -1 and 0 written as -1) and read again to the same values; and every value must convert to each
// type or fail with the two conversion errors only.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "hotkey/hotkey_errors.h"
#include "hotkey/settings_bag.h"

namespace {

using lumenor::fuzz::Check;
using lumenor::hotkey::BagValue;
using lumenor::hotkey::SettingsBag;

struct StoredEntry {
  std::uint16_t type = 0;
  std::u16string name;
  std::int64_t number = 0;  // an integer, or the truth value's 16 bits as stored
  std::u16string text;
  std::size_t value_at = 0;
};

// The stored form read another way: each field checked where it stands, in one pass.
std::optional<std::vector<StoredEntry>> ReadAnotherWay(std::span<const std::uint8_t> b) {
  auto u16 = [&](std::size_t at) { return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8); };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  auto fits = [&](std::size_t at, std::uint64_t count) {
    return at <= b.size() && count <= b.size() - at;
  };
  if (!fits(0, 8) || u32(0) != 0xB293 || u32(4) != b.size()) return std::nullopt;
  std::vector<StoredEntry> entries;
  for (std::size_t at = 8; at < b.size();) {
    if (!fits(at, 12)) return std::nullopt;
    StoredEntry e;
    e.type = static_cast<std::uint16_t>(u16(at));
    const std::size_t characters = u16(at + 2);
    const std::uint32_t hash = u32(at + 4);
    const auto link = static_cast<std::int32_t>(u32(at + 8));
    std::size_t p = at + 12;
    if (!fits(p, 2 * characters)) return std::nullopt;
    std::uint32_t fnv = 2166136261u;
    for (std::size_t i = 0; i < 2 * characters; ++i) fnv = (fnv ^ b[p + i]) * 16777619u;
    for (std::size_t i = 0; i < characters; ++i)
      e.name.push_back(static_cast<char16_t>(u16(p + 2 * i)));
    p += 2 * characters;
    if (fnv != hash) return std::nullopt;
    for (char16_t c : e.name) {
      if (c >= u'A' && c <= u'Z') return std::nullopt;
    }
    for (const StoredEntry& other : entries) {
      if (other.name == e.name) return std::nullopt;
    }
    e.value_at = p;
    if (e.type == 3) {
      if (!fits(p, 4)) return std::nullopt;
      e.number = static_cast<std::int32_t>(u32(p));
      p += 4;
    } else if (e.type == 11) {
      if (!fits(p, 2)) return std::nullopt;
      e.number = u16(p);
      p += 2;
    } else if (e.type == 8) {
      if (!fits(p, 4)) return std::nullopt;
      const std::uint32_t bytes = u32(p);
      p += 4;
      if (bytes % 2 != 0 || !fits(p, bytes)) return std::nullopt;
      for (std::size_t i = 0; i < bytes; i += 2)
        e.text.push_back(static_cast<char16_t>(u16(p + i)));
      p += bytes;
    } else {
      return std::nullopt;
    }
    for (; (p - at) % 4 != 0; ++p) {
      if (!fits(p, 1) || b[p] != 0) return std::nullopt;
    }
    const std::int64_t expected_link =
        p == b.size() ? -static_cast<std::int64_t>(at - 8) : static_cast<std::int64_t>(p - at);
    if (link != expected_link) return std::nullopt;
    entries.push_back(std::move(e));
    at = p;
  }
  return entries;
}

BagValue ValueOf(const StoredEntry& e) {
  if (e.type == 3) return BagValue::Long(static_cast<std::int32_t>(e.number));
  if (e.type == 11) return BagValue::Boolean(e.number != 0 ? -1 : 0);
  return BagValue::Text(e.text);
}

// A name as the UTF-8 key a host would pass; none when it holds a lone surrogate.
std::optional<std::string> KeyOf(std::u16string_view name) {
  std::string key;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char32_t cp = name[i];
    if (cp >= 0xDC00 && cp <= 0xDFFF) return std::nullopt;
    if (cp >= 0xD800 && cp <= 0xDBFF) {
      if (i + 1 == name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF) return std::nullopt;
      cp = 0x10000 + ((cp - 0xD800) << 10) + (name[++i] - 0xDC00);
    }
    if (cp < 0x80) {
      key += static_cast<char>(cp);
    } else if (cp < 0x800) {
      key += static_cast<char>(0xC0 | cp >> 6);
      key += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      key += static_cast<char>(0xE0 | cp >> 12);
      key += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      key += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      key += static_cast<char>(0xF0 | cp >> 18);
      key += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
      key += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
      key += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return key;
}

void CheckSameEntries(const SettingsBag& a, const SettingsBag& b, const char* what) {
  Check(a.Entries().size() == b.Entries().size(), what);
  for (std::size_t i = 0; i < a.Entries().size(); ++i) {
    Check(a.Entries()[i].name == b.Entries()[i].name, what);
    Check(a.Entries()[i].value == b.Entries()[i].value, what);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> block(data, size);
  const std::optional<std::vector<StoredEntry>> expected = ReadAnotherWay(block);
  SettingsBag bag;
  try {
    bag = SettingsBag::FromBlock(block);
  } catch (const lumenor::hotkey::BadSettingsBlockError& error) {
    Check(!expected.has_value(), "refused a block the other reading reads", error.what());
    Check(*error.what() != '\0', "a refused block without a reason");
    return 0;
  }
  Check(expected.has_value(), "read a block the other reading refuses");
  Check(bag.Entries().size() == expected->size(), "a different number of entries");
  std::vector<std::uint8_t> rewritten(block.begin(), block.end());
  for (std::size_t i = 0; i < expected->size(); ++i) {
    const StoredEntry& e = (*expected)[i];
    Check(bag.Entries()[i].name == e.name, "an entry under another name");
    Check(bag.Entries()[i].value == ValueOf(e), "an entry with another value");
    if (e.type == 11 && e.number != 0) rewritten[e.value_at] = rewritten[e.value_at + 1] = 0xFF;
  }

  const std::vector<std::uint8_t> written = bag.ToBlock();
  Check(written == rewritten, "written back other than read (truth values as -1)");
  CheckSameEntries(bag, SettingsBag::FromBlock(written), "read again to other values");

  // Every value converts to each type or fails as a conversion does, read by its name as a host
  // reads it; and a bag written entry by entry under the same names stores the same block.
  const BagValue models[] = {BagValue::Long(0), BagValue::Boolean(0), BagValue::Text(u"")};
  SettingsBag copy;
  bool copied = true;
  for (const SettingsBag::Entry& entry : bag.Entries()) {
    const std::optional<std::string> key = KeyOf(entry.name);
    for (const BagValue& model : models) {
      try {
        const BagValue converted = entry.value.ConvertedLike(model);
        Check(converted.Type() == model.Type(), "converted to another type");
        if (key) Check(bag.ReadValue(*key, model) == converted, "read by name to another value");
      } catch (const lumenor::hotkey::TypeMismatchError&) {
      } catch (const lumenor::hotkey::OverflowError&) {
      }
    }
    if (!key) {
      copied = false;
      continue;
    }
    // A default of another kind, so the value is always stored.
    const BagValue other = entry.value.Type() == lumenor::hotkey::BagValueType::Text
                               ? BagValue::Long(0)
                               : BagValue::Text(u"");
    copy.WriteValue(*key, entry.value, other);
  }
  if (copied) Check(copy.ToBlock() == written, "written entry by entry to another block");
  return 0;
}
