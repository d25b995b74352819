#include "hotkey/settings_bag.h"

#include <algorithm>
#include <limits>

#include "hotkey/hotkey_errors.h"

namespace lumenor::hotkey {

namespace {

constexpr std::uint32_t kSignature = 0xB293;
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kEntryHeaderSize = 12;

char16_t FoldCase(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? c - u'A' + u'a' : c;
}

std::u16string Folded(std::u16string text) {
  for (auto& c : text) c = FoldCase(c);
  return text;
}

// The key as a lower-case UTF-16 name. Only A to Z are folded.
std::u16string NameOf(std::string_view key) {
  std::u16string out;
  std::size_t i = 0;
  auto bad = [&] { return InvalidKeyError("not UTF-8"); };
  while (i < key.size()) {
    const auto b0 = static_cast<unsigned char>(key[i]);
    std::uint32_t cp = 0;
    std::size_t more = 0;
    if (b0 < 0x80) {
      cp = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
      cp = b0 & 0x1Fu, more = 1;
    } else if ((b0 & 0xF0) == 0xE0) {
      cp = b0 & 0x0Fu, more = 2;
    } else if ((b0 & 0xF8) == 0xF0) {
      cp = b0 & 0x07u, more = 3;
    } else {
      throw bad();
    }
    for (std::size_t k = 1; k <= more; ++k) {
      if (i + k >= key.size()) throw bad();
      const auto b = static_cast<unsigned char>(key[i + k]);
      if ((b & 0xC0) != 0x80) throw bad();
      cp = (cp << 6) | (b & 0x3Fu);
    }
    constexpr std::uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[more] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) throw bad();
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += more + 1;
  }
  if (out.size() > std::numeric_limits<std::uint16_t>::max()) throw InvalidKeyError("too long");
  return Folded(std::move(out));
}

std::uint32_t NameHash(std::u16string_view name) {
  std::uint32_t hash = 2166136261u;
  for (char16_t c : name) {
    for (unsigned byte : {static_cast<unsigned>(c & 0xFF), static_cast<unsigned>(c >> 8)}) {
      hash ^= byte;
      hash *= 16777619u;
    }
  }
  return hash;
}

// Text as a decimal number: blanks around it, an optional sign, digits.
bool ParseNumber(std::u16string_view text, std::int64_t& value, bool& overflow) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  std::int64_t magnitude = 0;
  overflow = false;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
    if (magnitude < (std::int64_t{1} << 40))
      magnitude = magnitude * 10 + (c - u'0');
    else
      overflow = true;
  }
  value = negative ? -magnitude : magnitude;
  return true;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return std::ranges::equal(a, b,
                            [](char16_t x, char16_t y) { return FoldCase(x) == FoldCase(y); });
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}
void PutText(std::vector<std::uint8_t>& out, std::u16string_view text) {
  for (char16_t c : text) Put16(out, static_cast<std::uint16_t>(c));
}

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint16_t U16(std::size_t at) const {
    Need(at, 2);
    return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
  }
  std::uint32_t U32(std::size_t at) const {
    Need(at, 4);
    return static_cast<std::uint32_t>(bytes_[at]) |
           (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
  }
  std::u16string Text(std::size_t at, std::size_t characters) const {
    Need(at, characters * 2);
    std::u16string out(characters, u'\0');
    for (std::size_t i = 0; i < characters; ++i) out[i] = static_cast<char16_t>(U16(at + 2 * i));
    return out;
  }
  void Need(std::size_t at, std::size_t count) const {
    if (at > bytes_.size() || count > bytes_.size() - at) {
      throw BadSettingsBlockError("entry runs past the end of the block");
    }
  }
  std::uint8_t Byte(std::size_t at) const {
    Need(at, 1);
    return bytes_[at];
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace

std::int32_t BagValue::ToLong() const {
  switch (type_) {
    case BagValueType::Long:
    case BagValueType::Boolean:
      return number_;
    case BagValueType::Text: {
      std::int64_t value = 0;
      bool overflow = false;
      if (!ParseNumber(text_, value, overflow)) throw TypeMismatchError("text is not a number");
      if (overflow || value < INT32_MIN || value > INT32_MAX) {
        throw OverflowError("number does not fit 32 bits");
      }
      return static_cast<std::int32_t>(value);
    }
  }
  throw TypeMismatchError("unknown value type");
}

TruthValue BagValue::ToBoolean() const {
  switch (type_) {
    case BagValueType::Long:
    case BagValueType::Boolean:
      return ToTruth(number_);
    case BagValueType::Text: {
      if (EqualsIgnoringCase(text_, u"True")) return kTrue;
      if (EqualsIgnoringCase(text_, u"False")) return kFalse;
      std::int64_t value = 0;
      bool overflow = false;
      if (!ParseNumber(text_, value, overflow))
        throw TypeMismatchError("text is not a truth value");
      return ToTruth(overflow ? 1 : value);
    }
  }
  throw TypeMismatchError("unknown value type");
}

std::u16string BagValue::ToText() const {
  switch (type_) {
    case BagValueType::Long: {
      const std::string digits = std::to_string(number_);
      return std::u16string(digits.begin(), digits.end());
    }
    case BagValueType::Boolean:
      return number_ != 0 ? u"True" : u"False";
    case BagValueType::Text:
      return text_;
  }
  throw TypeMismatchError("unknown value type");
}

BagValue BagValue::ConvertedLike(const BagValue& model) const {
  switch (model.type_) {
    case BagValueType::Long:
      return Long(ToLong());
    case BagValueType::Boolean:
      return Boolean(ToBoolean());
    case BagValueType::Text:
      return Text(ToText());
  }
  throw TypeMismatchError("unknown value type");
}

bool BagValue::SameAs(const BagValue& other) const {
  const bool textA = type_ == BagValueType::Text;
  const bool textB = other.type_ == BagValueType::Text;
  if (textA != textB) return false;
  return textA ? text_ == other.text_ : number_ == other.number_;
}

BagValue SettingsBag::ReadValue(std::string_view key, const BagValue& defaultValue) const {
  const std::u16string name = NameOf(key);
  for (const auto& entry : entries_) {
    if (entry.name == name) return entry.value.ConvertedLike(defaultValue);
  }
  return defaultValue;
}

void SettingsBag::WriteValue(std::string_view key, const BagValue& value,
                             const BagValue& defaultValue) {
  const std::u16string name = NameOf(key);
  auto it = std::ranges::find_if(entries_, [&](const Entry& e) { return e.name == name; });
  if (value.SameAs(defaultValue)) {
    if (it != entries_.end()) entries_.erase(it);
    return;
  }
  if (it != entries_.end()) {
    it->value = value;
  } else {
    entries_.push_back(Entry{name, value});
  }
}

std::vector<std::uint8_t> SettingsBag::ToBlock() const {
  std::vector<std::vector<std::uint8_t>> bodies;
  for (const auto& entry : entries_) {
    std::vector<std::uint8_t> body;
    PutText(body, entry.name);
    switch (entry.value.Type()) {
      case BagValueType::Long:
        Put32(body, static_cast<std::uint32_t>(entry.value.ToLong()));
        break;
      case BagValueType::Boolean:
        Put16(body, static_cast<std::uint16_t>(entry.value.ToBoolean()));
        break;
      case BagValueType::Text: {
        const std::u16string text = entry.value.ToText();
        if (text.size() > (std::numeric_limits<std::uint32_t>::max() - 64) / 2) {
          throw OverflowError("text value too long for a stored block");
        }
        Put32(body, static_cast<std::uint32_t>(text.size() * 2));
        PutText(body, text);
        break;
      }
    }
    while ((kEntryHeaderSize + body.size()) % 4 != 0) body.push_back(0);
    bodies.push_back(std::move(body));
  }

  std::size_t total = kHeaderSize;
  for (const auto& body : bodies) total += kEntryHeaderSize + body.size();
  if (total > std::numeric_limits<std::int32_t>::max()) {
    throw OverflowError("stored block too long");
  }

  std::vector<std::uint8_t> out;
  out.reserve(total);
  Put32(out, kSignature);
  Put32(out, static_cast<std::uint32_t>(total));
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const std::size_t start = out.size();
    const std::size_t size = kEntryHeaderSize + bodies[i].size();
    const bool last = i + 1 == entries_.size();
    const auto link =
        last ? -static_cast<std::int64_t>(start - kHeaderSize) : static_cast<std::int64_t>(size);
    Put16(out, static_cast<std::uint16_t>(entries_[i].value.Type()));
    Put16(out, static_cast<std::uint16_t>(entries_[i].name.size()));
    Put32(out, NameHash(entries_[i].name));
    Put32(out, static_cast<std::uint32_t>(static_cast<std::int32_t>(link)));
    out.insert(out.end(), bodies[i].begin(), bodies[i].end());
  }
  return out;
}

SettingsBag SettingsBag::FromBlock(std::span<const std::uint8_t> block) {
  if (block.size() < kHeaderSize) throw BadSettingsBlockError("shorter than its header");
  const Reader read(block);
  if (read.U32(0) != kSignature) throw BadSettingsBlockError("wrong signature");
  if (read.U32(4) != block.size()) throw BadSettingsBlockError("length does not match the block");

  SettingsBag bag;
  std::size_t at = kHeaderSize;
  while (at < block.size()) {
    const std::uint16_t type = read.U16(at);
    const std::size_t characters = read.U16(at + 2);
    const std::uint32_t hash = read.U32(at + 4);
    const auto link = static_cast<std::int32_t>(read.U32(at + 8));

    std::size_t cursor = at + kEntryHeaderSize;
    std::u16string name = read.Text(cursor, characters);
    cursor += characters * 2;
    if (Folded(name) != name) throw BadSettingsBlockError("name not in lower case");
    if (NameHash(name) != hash) throw BadSettingsBlockError("name hash does not match");
    for (const auto& entry : bag.entries_) {
      if (entry.name == name) throw BadSettingsBlockError("name stored twice");
    }

    BagValue value = BagValue::Long(0);
    switch (static_cast<BagValueType>(type)) {
      case BagValueType::Long:
        value = BagValue::Long(static_cast<std::int32_t>(read.U32(cursor)));
        cursor += 4;
        break;
      case BagValueType::Boolean:
        value = BagValue::Boolean(static_cast<TruthValue>(read.U16(cursor)));
        cursor += 2;
        break;
      case BagValueType::Text: {
        const std::uint32_t bytes = read.U32(cursor);
        cursor += 4;
        if (bytes % 2 != 0) throw BadSettingsBlockError("text of an odd byte count");
        value = BagValue::Text(read.Text(cursor, bytes / 2));
        cursor += bytes;
        break;
      }
      default:
        throw BadSettingsBlockError("unknown value type " + std::to_string(type));
    }
    while ((cursor - at) % 4 != 0) {
      if (read.Byte(cursor) != 0) throw BadSettingsBlockError("fill is not zero");
      ++cursor;
    }

    const bool last = cursor == block.size();
    const auto expected = last ? -static_cast<std::int64_t>(at - kHeaderSize)
                               : static_cast<std::int64_t>(cursor - at);
    if (link != expected) throw BadSettingsBlockError("link does not lead to the next entry");

    bag.entries_.push_back(Entry{std::move(name), std::move(value)});
    at = cursor;
  }
  return bag;
}

}  // namespace lumenor::hotkey
