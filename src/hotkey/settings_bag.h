#pragma once
// SettingsBag: the named, typed values through which a host hands a hotkey control its stored
// properties and takes them back, and the bag's stored byte form.
//
// Stored form (little-endian): signature 0xB293 (32 bits), the block's length in bytes (32 bits,
// header included), then the entries in the order they were written. Each entry: value type
// (16 bits: 3 integer, 8 text, 11 truth value), name length in characters (16 bits), name hash
// (32 bits, FNV-1a over the name's UTF-16LE bytes), link (32 bits, signed: the distance to the next
// entry, or in the last entry the negative distance back to the first), the lower-case name in
// UTF-16LE, the value (4 bytes integer; 2 bytes truth value, -1 or 0; text as a 32-bit byte count
// and UTF-16LE), zero fill up to a multiple of 4. A stored truth value other than -1 and 0 reads
// as true, as any non-zero truth value does, so the block written back holds -1 in its place and
// is otherwise byte for byte the block read.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hotkey/hotkey_values.h"

namespace lumenor::hotkey {

enum class BagValueType : std::uint16_t { Long = 3, Text = 8, Boolean = 11 };

class BagValue {
 public:
  static BagValue Long(std::int32_t value) { return BagValue(BagValueType::Long, value, {}); }
  static BagValue Boolean(TruthValue value) {
    return BagValue(BagValueType::Boolean, ToTruth(value), {});
  }
  static BagValue Text(std::u16string value) {
    return BagValue(BagValueType::Text, 0, std::move(value));
  }

  BagValueType Type() const { return type_; }

  // Conversions; a value that does not convert fails with TypeMismatchError (a number out of the
  // integer's range with OverflowError). Text converts when it reads as a decimal number, or for a
  // truth value also as "True" or "False".
  std::int32_t ToLong() const;
  TruthValue ToBoolean() const;
  std::u16string ToText() const;
  // This value converted to the type of another.
  BagValue ConvertedLike(const BagValue& model) const;

  // Equal as the bag compares a value with its default: numbers by value, text by text.
  bool SameAs(const BagValue& other) const;

  friend bool operator==(const BagValue&, const BagValue&) = default;

 private:
  BagValue(BagValueType type, std::int32_t number, std::u16string text)
      : type_(type), number_(number), text_(std::move(text)) {}

  BagValueType type_;
  std::int32_t number_;  // Long, or Boolean as -1 / 0
  std::u16string text_;  // Text
};

class SettingsBag {
 public:
  struct Entry {
    std::u16string name;  // lower case
    BagValue value;
  };

  // The value stored under the key (matched without regard to case), converted to the default's
  // type; the default itself when the key is absent.
  BagValue ReadValue(std::string_view key, const BagValue& defaultValue) const;
  // Stores the value under the key with the value's own type; stores nothing (and forgets an
  // earlier value under the key) when the value equals the default.
  void WriteValue(std::string_view key, const BagValue& value, const BagValue& defaultValue);

  const std::vector<Entry>& Entries() const { return entries_; }

  std::vector<std::uint8_t> ToBlock() const;
  // Reads a stored block; anything that is not a well-formed block fails with
  // BadSettingsBlockError.
  static SettingsBag FromBlock(std::span<const std::uint8_t> block);

 private:
  std::vector<Entry> entries_;
};

}  // namespace lumenor::hotkey
