#include "wordrules/NarrowTable.h"

#include <array>
#include <cstdint>

namespace sendnote::wordrules {

namespace {

constexpr char16_t kVoiced = 0xFF9E;      // half-width voiced sound mark
constexpr char16_t kSemiVoiced = 0xFF9F;  // half-width semi-voiced sound mark

// The narrow form of one character of U+3099..U+30FE: a base (0 = no narrow form, the
// character stays) and an optional sound mark written after it.
struct KanaForm {
  char16_t base = 0;
  char16_t mark = 0;
};

constexpr char16_t kKanaFirst = 0x3099;
constexpr char16_t kKanaLast = 0x30FE;
using KanaTable = std::array<KanaForm, kKanaLast - kKanaFirst + 1>;

constexpr KanaTable MakeKanaTable() {
  KanaTable t{};
  auto set = [&t](char16_t full, char16_t base, char16_t mark = 0) {
    t[full - kKanaFirst] = {base, mark};
  };
  // Sound marks, combining and spacing.
  set(0x3099, kVoiced), set(0x309A, kSemiVoiced), set(0x309B, kVoiced), set(0x309C, kSemiVoiced);
  // Small and plain vowels ァアィイゥウェエォオ.
  const char16_t vowels[] = {0xFF67, 0xFF71, 0xFF68, 0xFF72, 0xFF69,
                             0xFF73, 0xFF6A, 0xFF74, 0xFF6B, 0xFF75};
  for (int i = 0; i < 10; ++i) set(static_cast<char16_t>(0x30A1 + i), vowels[i]);
  // カ..チ: each plain letter is followed by its voiced form.
  char16_t full = 0x30AB;
  for (char16_t base = 0xFF76; base <= 0xFF81; ++base) {
    set(full, base), set(static_cast<char16_t>(full + 1), base, kVoiced);
    full = static_cast<char16_t>(full + 2);
  }
  // ッ ツ ヅ テ デ ト ド
  set(0x30C3, 0xFF6F), set(0x30C4, 0xFF82), set(0x30C5, 0xFF82, kVoiced);
  set(0x30C6, 0xFF83), set(0x30C7, 0xFF83, kVoiced), set(0x30C8, 0xFF84);
  set(0x30C9, 0xFF84, kVoiced);
  for (int i = 0; i < 5; ++i) {
    set(static_cast<char16_t>(0x30CA + i), static_cast<char16_t>(0xFF85 + i));  // ナ..ノ
    set(static_cast<char16_t>(0x30DE + i), static_cast<char16_t>(0xFF8F + i));  // マ..モ
    set(static_cast<char16_t>(0x30E9 + i), static_cast<char16_t>(0xFF97 + i));  // ラ..ロ
    // ハ..ホ, each with its voiced and semi-voiced forms.
    const char16_t h = static_cast<char16_t>(0x30CF + 3 * i);
    const char16_t b = static_cast<char16_t>(0xFF8A + i);
    set(h, b), set(static_cast<char16_t>(h + 1), b, kVoiced);
    set(static_cast<char16_t>(h + 2), b, kSemiVoiced);
  }
  // ャヤュユョヨ
  const char16_t ya[] = {0xFF6C, 0xFF94, 0xFF6D, 0xFF95, 0xFF6E, 0xFF96};
  for (int i = 0; i < 6; ++i) set(static_cast<char16_t>(0x30E3 + i), ya[i]);
  // ワ ヲ ン ヴ ヷ ヺ; ヮ ヵ ヶ have no narrow form.
  set(0x30EF, 0xFF9C), set(0x30F2, 0xFF66), set(0x30F3, 0xFF9D);
  set(0x30F4, 0xFF73, kVoiced), set(0x30F7, 0xFF9C, kVoiced), set(0x30FA, 0xFF66, kVoiced);
  // ヸ ヹ ヾ keep their wide base letter (ヰ ヱ ヽ have no narrow form) and gain the mark.
  set(0x30F8, 0x30F0, kVoiced), set(0x30F9, 0x30F1, kVoiced), set(0x30FE, 0x30FD, kVoiced);
  // ・ ー
  set(0x30FB, 0xFF65), set(0x30FC, 0xFF70);
  return t;
}

constexpr KanaTable kKana = MakeKanaTable();

// The narrow Hangul letter of a compatibility jamo U+3131..U+3164, or 0.
constexpr char16_t NarrowJamo(char16_t c) {
  if (c == 0x3164) return 0xFFA0;                                                     // filler
  if (c >= 0x3131 && c <= 0x314E) return static_cast<char16_t>(c - 0x3131 + 0xFFA1);  // ㄱ..ㅎ
  // Vowels: the narrow block leaves two code points free after every six letters.
  if (c >= 0x314F && c <= 0x3163) {
    const int index = c - 0x314F;
    return static_cast<char16_t>(0xFFC2 + index + 2 * (index / 6));
  }
  return 0;
}

// The narrow form of a character that narrows to exactly one character, or 0.
constexpr char16_t NarrowSingle(char16_t c) {
  // Full-width ASCII variants; the full-width reverse solidus keeps its width.
  if (c >= 0xFF01 && c <= 0xFF5E) return c == 0xFF3C ? 0 : static_cast<char16_t>(c - 0xFEE0);
  if (c >= 0xFFE0 && c <= 0xFFE6) {
    constexpr char16_t kSigns[] = {0x00A2, 0x00A3, 0x00AC, 0x00AF, 0x00A6, 0x00A5, 0x20A9};
    return kSigns[c - 0xFFE0];  // ￠ ￡ ￢ ￣ ￤ ￥ ￦
  }
  switch (c) {
    case 0x3000:
      return u' ';  // ideographic space
    case 0x3001:
      return 0xFF64;  // 、
    case 0x3002:
      return 0xFF61;  // 。
    case 0x300C:
      return 0xFF62;  // 「
    case 0x300D:
      return 0xFF63;  // 」
    case 0x2019:
      return u'\'';  // ’
    case 0x201D:
      return u'"';  // ”
    default:
      return NarrowJamo(c);
  }
}

}  // namespace

std::u16string NarrowWidthPortable(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (c >= kKanaFirst && c <= kKanaLast && kKana[c - kKanaFirst].base != 0) {
      const KanaForm& form = kKana[c - kKanaFirst];
      out += form.base;
      if (form.mark != 0) out += form.mark;
      continue;
    }
    const char16_t single = NarrowSingle(c);
    out += single != 0 ? single : c;
  }
  return out;
}

}  // namespace sendnote::wordrules
