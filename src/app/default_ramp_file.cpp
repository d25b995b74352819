#include "app/default_ramp_file.h"

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/program_files.h"

namespace lumenor::app {
namespace {

constexpr int kNumbers = kRampLevels * kRampChannels;  // 768
// A ramp file is a few kilobytes; anything past 1 MiB is not one.
constexpr std::size_t kMaxFileBytes = std::size_t{1024} * 1024;
// How much of a bad field the message quotes.
constexpr std::size_t kQuotedBytes = 24;
// Any magnitude above this is out of range; accumulating stops here so long digit runs cannot
// overflow.
constexpr std::int32_t kSaturated = 100000;

constexpr int kEnd = -1;

bool IsBlank(int c) {
  return c == ' ' || c == '\t';
}
bool IsLineBreak(int c) {
  return c == '\n' || c == '\r';
}
bool EndsField(int c) {
  return c == kEnd || c == ',' || IsBlank(c) || IsLineBreak(c);
}

// Takes the text one character at a time, counting lines (LF, CRLF and a lone CR each end one)
// and refusing to go past kMaxFileBytes.
class TextReader {
 public:
  explicit TextReader(std::string_view text) : text_(text) {}

  int Peek() const {
    if (at_ >= text_.size() || too_long_) return kEnd;
    return static_cast<unsigned char>(text_[at_]);
  }

  int Next() {
    const int c = Peek();
    if (c == kEnd) return kEnd;
    if (++at_ > kMaxFileBytes) {
      too_long_ = true;
      return kEnd;
    }
    if (c == '\r' || (c == '\n' && !after_cr_)) ++line_;
    after_cr_ = c == '\r';
    return c;
  }

  // A UTF-8 byte order mark at the very start is skipped.
  void SkipByteOrderMark() {
    if (at_ == 0 && text_.starts_with("\xEF\xBB\xBF")) at_ = 3;
  }

  int Line() const { return line_; }
  bool TooLong() const { return too_long_; }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  bool too_long_ = false;
  bool after_cr_ = false;
  int line_ = 1;
};

// A field as the reader found it: its value if it is a decimal integer, and its first bytes for
// the message if it is not.
struct Field {
  std::string quoted;
  bool cut = false;
  bool decimal = false;
  std::int32_t value = 0;
};

Field ReadField(TextReader& reader) {
  Field field;
  bool negative = false;
  bool sign_allowed = true;
  bool any_digit = false;
  bool bad = false;
  std::int32_t magnitude = 0;
  while (!EndsField(reader.Peek())) {
    const int c = reader.Next();
    if (field.quoted.size() < kQuotedBytes) {
      field.quoted.push_back(static_cast<char>(c));
    } else {
      field.cut = true;
    }
    if (sign_allowed && (c == '+' || c == '-')) {
      negative = c == '-';
    } else if (c >= '0' && c <= '9') {
      any_digit = true;
      if (magnitude < kSaturated) magnitude = magnitude * 10 + (c - '0');
    } else {
      bad = true;
    }
    sign_allowed = false;
  }
  field.decimal = any_digit && !bad;
  field.value = negative ? -magnitude : magnitude;
  return field;
}

// The length of the UTF-8 character at in[i], or 0 if the bytes there are not one (a stray or
// overlong byte, a surrogate, a sequence cut short).
std::size_t Utf8Length(const std::string& in, std::size_t i) {
  const auto lead = static_cast<unsigned char>(in[i]);
  std::size_t length = 0;
  unsigned char low = 0x80;  // the allowed range of the second byte
  unsigned char high = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > in.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(in[i + k]);
    if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return 0;
  }
  return length;
}

// The code point of the valid UTF-8 character of `length` bytes at in[i].
char32_t DecodeUtf8(const std::string& in, std::size_t i, std::size_t length) {
  static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t cp = static_cast<unsigned char>(in[i]) & kLeadBits[length];
  for (std::size_t k = 1; k < length; ++k)
    cp = (cp << 6) | (static_cast<unsigned char>(in[i + k]) & 0x3Fu);
  return cp;
}

// Characters that draw nothing or act on the text around them rather than showing: controls,
// format characters (bidirectional marks, embeddings, overrides and isolates among them),
// zero-width and invisible fillers, line and paragraph separators, variation selectors, private
// use and noncharacters. Quoted as they are, they could reorder or hide the rest of the message.
bool IsUnprintable(char32_t cp) {
  struct Range {
    char32_t first;
    char32_t last;
  };
  static constexpr Range kRanges[] = {
      {0x0000, 0x001F},   {0x007F, 0x009F},    {0x00AD, 0x00AD},   {0x034F, 0x034F},
      {0x0600, 0x0605},   {0x061C, 0x061C},    {0x06DD, 0x06DD},   {0x070F, 0x070F},
      {0x0890, 0x0891},   {0x08E2, 0x08E2},    {0x115F, 0x1160},   {0x17B4, 0x17B5},
      {0x180B, 0x180F},   {0x200B, 0x200F},    {0x2028, 0x202E},   {0x2060, 0x206F},
      {0x3164, 0x3164},   {0xE000, 0xF8FF},    {0xFDD0, 0xFDEF},   {0xFE00, 0xFE0F},
      {0xFEFF, 0xFEFF},   {0xFFA0, 0xFFA0},    {0xFFF0, 0xFFFB},   {0x110BD, 0x110BD},
      {0x110CD, 0x110CD}, {0x13430, 0x1343F},  {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A},
      {0xE0000, 0xE0FFF}, {0xF0000, 0x10FFFF},
  };
  if ((cp & 0xFFFE) == 0xFFFE) return true;  // U+FFFE, U+FFFF and their kin in every plane
  for (const Range& range : kRanges) {
    if (cp >= range.first && cp <= range.last) return true;
  }
  return false;
}

std::string Hex(std::uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
    out.push_back(kDigits[(value >> shift) & 0xF]);
  return out;
}

// The field's bytes as text a person can read: printable UTF-8 is kept, a character that is not
// printable shows as "<U+202E>" and a byte that is not UTF-8 as "<0xFF>", and a field cut short
// ends in "…" (a character cut in half by the cut is left out).
std::string Quote(const Field& field) {
  const std::string& in = field.quoted;
  std::size_t end = in.size();
  if (field.cut) {
    // Step back over the continuation bytes of a character the cut went through.
    std::size_t start = end;
    while (start > 0 && end - start < 3 &&
           (static_cast<unsigned char>(in[start - 1]) & 0xC0) == 0x80)
      --start;
    if (start > 0 && static_cast<unsigned char>(in[start - 1]) >= 0xC0) {
      const std::string tail = in.substr(start - 1);
      if (Utf8Length(tail, 0) == 0) end = start - 1;
    }
  }
  std::string out;
  for (std::size_t i = 0; i < end;) {
    const std::size_t length = Utf8Length(in, i);
    if (length == 0) {
      out += "<0x" + Hex(static_cast<unsigned char>(in[i]), 2) + ">";
      ++i;
      continue;
    }
    const char32_t cp = DecodeUtf8(in, i, length);
    if (IsUnprintable(cp)) {
      out += "<U+" + Hex(cp, cp > 0xFFFFF ? 6 : cp > 0xFFFF ? 5 : 4) + ">";
    } else {
      out.append(in, i, length);
    }
    i += length;
  }
  if (field.cut) out += "…";
  return out;
}

// Where a number stands, counted within its line: "第 2 行第 1 个数".
std::string Where(int line, int on_line) {
  return "第 " + std::to_string(line) + " 行第 " + std::to_string(on_line) + " 个数";
}

RampFileOutcome Reject(std::string problem) {
  RampFileOutcome outcome;
  outcome.status = RampFileStatus::Malformed;
  outcome.problem = std::move(problem);
  return outcome;
}

std::string TooLarge(std::uint64_t bytes) {
  return "文件太大" + (bytes != 0 ? "（" + std::to_string(bytes) + " 字节）" : std::string()) +
         "，默认数据文件最多 " + std::to_string(kMaxFileBytes) + " 字节";
}

}  // namespace

RampFileOutcome ParseRampText(std::string_view text) {
  TextReader reader(text);
  reader.SkipByteOrderMark();
  const auto skip_space = [&reader] {
    while (IsBlank(reader.Peek()) || IsLineBreak(reader.Peek())) reader.Next();
  };
  GammaRamp ramp{};
  int previous_line = 0;
  int on_line = 0;  // the number's place among those that start on its line
  for (int k = 0; k < kNumbers; ++k) {
    if (k > 0) {
      // The separator after the previous number: blanks and line breaks around at most one
      // comma, so a comma that starts a line separates as one after a blank does.
      skip_space();
      if (reader.Peek() == ',') reader.Next();
    }
    skip_space();
    if (reader.TooLong()) return Reject(TooLarge(0));
    if (reader.Peek() == kEnd) {
      return Reject("只有 " + std::to_string(k) + " 个数，需要 " + std::to_string(kNumbers) +
                    " 个");
    }
    const int line = reader.Line();
    on_line = line == previous_line ? on_line + 1 : 1;
    previous_line = line;
    if (reader.Peek() == ',') {
      return Reject(Where(line, on_line) + "是空的（逗号前没有数字）");
    }
    const Field field = ReadField(reader);
    if (reader.TooLong()) return Reject(TooLarge(0));
    if (!field.decimal) {
      return Reject(Where(line, on_line) + "“" + Quote(field) + "”不是十进制整数");
    }
    if (field.value < -32768 || field.value > 32767) {
      return Reject(Where(line, on_line) + "“" + Quote(field) + "”超出 -32768 到 32767");
    }
    // Number k is level k / 3, channel k % 3; stored as the 16-bit two's complement.
    ramp[RampIndex(k / kRampChannels, k % kRampChannels)] =
        static_cast<std::uint16_t>(static_cast<std::int16_t>(field.value));
  }
  RampFileOutcome outcome;
  outcome.status = RampFileStatus::Read;
  outcome.ramp = ramp;
  return outcome;
}

RampFileOutcome LoadRampFile(platform::ProgramFiles& files, std::string_view name) {
  using platform::FileReadStatus;
  const platform::FileContents file = files.Read(name, kMaxFileBytes);
  switch (file.status) {
    case FileReadStatus::Missing:
      return RampFileOutcome{};
    case FileReadStatus::TooLarge:
      return Reject(TooLarge(file.size));
    case FileReadStatus::Unreadable:
      return Reject("无法读取文件");
    case FileReadStatus::Read:
      break;
  }
  return ParseRampText(file.bytes);
}

}  // namespace lumenor::app
