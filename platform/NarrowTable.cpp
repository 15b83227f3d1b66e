#include "platform/NarrowTable.h"

#include <array>

namespace sendnote::platform {
namespace {

// Half-width forms of the full-width katakana U+30A1..U+30FC, as the standard mapping
// gives them; voiced and semi-voiced letters become two characters (base + mark).
struct KanaForm {
  char16_t base;
  char16_t mark;  // 0, U+FF9E (voiced) or U+FF9F (semi-voiced)
};

constexpr char16_t kVoiced = 0xFF9E;
constexpr char16_t kSemiVoiced = 0xFF9F;

constexpr std::array<KanaForm, 0x30FC - 0x30A1 + 1> MakeKanaTable() {
  std::array<KanaForm, 0x30FC - 0x30A1 + 1> t{};
  auto set = [&t](char16_t full, char16_t base, char16_t mark = 0) {
    t[full - 0x30A1] = {base, mark};
  };
  // Small and plain vowels.
  set(0x30A1, 0xFF67), set(0x30A2, 0xFF71), set(0x30A3, 0xFF68), set(0x30A4, 0xFF72);
  set(0x30A5, 0xFF69), set(0x30A6, 0xFF73), set(0x30A7, 0xFF6A), set(0x30A8, 0xFF74);
  set(0x30A9, 0xFF6B), set(0x30AA, 0xFF75);
  // K/G, S/Z, T/D rows: plain and voiced letters alternate.
  const char16_t kst[] = {0xFF76, 0xFF77, 0xFF78, 0xFF79, 0xFF7A, 0xFF7B,
                          0xFF7C, 0xFF7D, 0xFF7E, 0xFF7F, 0xFF80, 0xFF81};
  char16_t full = 0x30AB;  // カ
  for (char16_t base : kst) {
    set(full, base);
    set(static_cast<char16_t>(full + 1), base, kVoiced);
    full = static_cast<char16_t>(full + 2);
  }
  // ッ ツ ヅ テ デ ト ド
  set(0x30C3, 0xFF6F), set(0x30C4, 0xFF82), set(0x30C5, 0xFF82, kVoiced);
  set(0x30C6, 0xFF83), set(0x30C7, 0xFF83, kVoiced), set(0x30C8, 0xFF84);
  set(0x30C9, 0xFF84, kVoiced);
  // ナ..ノ
  for (char16_t i = 0; i < 5; ++i) set(static_cast<char16_t>(0x30CA + i), 0xFF85 + i);
  // ハ..ホ with voiced and semi-voiced forms.
  for (char16_t i = 0; i < 5; ++i) {
    const char16_t f = static_cast<char16_t>(0x30CF + 3 * i);
    const char16_t b = static_cast<char16_t>(0xFF8A + i);
    set(f, b), set(static_cast<char16_t>(f + 1), b, kVoiced);
    set(static_cast<char16_t>(f + 2), b, kSemiVoiced);
  }
  // マ..モ
  for (char16_t i = 0; i < 5; ++i) set(static_cast<char16_t>(0x30DE + i), 0xFF8F + i);
  // ャ ヤ ュ ユ ョ ヨ
  set(0x30E3, 0xFF6C), set(0x30E4, 0xFF94), set(0x30E5, 0xFF6D), set(0x30E6, 0xFF95);
  set(0x30E7, 0xFF6E), set(0x30E8, 0xFF96);
  // ラ..ロ
  for (char16_t i = 0; i < 5; ++i) set(static_cast<char16_t>(0x30E9 + i), 0xFF97 + i);
  // ヮ ワ ヰ ヱ ヲ ン ヴ ヵ ヶ: ヮヰヱヵヶ have no half-width form (kept).
  set(0x30EF, 0xFF9C), set(0x30F2, 0xFF66), set(0x30F3, 0xFF9D), set(0x30F4, 0xFF73, kVoiced);
  // ヷ ヸ ヹ ヺ: ヷ and ヺ have forms via ワ/ヲ + voiced mark.
  set(0x30F7, 0xFF9C, kVoiced), set(0x30FA, 0xFF66, kVoiced);
  // ・ ー
  set(0x30FB, 0xFF65), set(0x30FC, 0xFF70);
  return t;
}

constexpr auto kKana = MakeKanaTable();

}  // namespace

std::u16string NarrowWidthPortable(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    if (c >= 0xFF01 && c <= 0xFF5E) {  // full-width ASCII variants, U+FF0D included
      out += static_cast<char16_t>(c - 0xFF01 + 0x21);
    } else if (c == 0x3000) {  // ideographic space
      out += u' ';
    } else if (c >= 0x30A1 && c <= 0x30FC && kKana[c - 0x30A1].base != 0) {
      out += kKana[c - 0x30A1].base;
      if (kKana[c - 0x30A1].mark) out += kKana[c - 0x30A1].mark;
    } else {
      switch (c) {
        case 0x3001:
          out += u'\uFF64';
          break;  // 、
        case 0x3002:
          out += u'\uFF61';
          break;  // 。
        case 0x300C:
          out += u'\uFF62';
          break;  // 「
        case 0x300D:
          out += u'\uFF63';
          break;  // 」
        case 0x309B:
          out += kVoiced;
          break;  // ゛
        case 0x309C:
          out += kSemiVoiced;
          break;  // ゜
        case 0xFFE5:
          out += u'\u00A5';
          break;  // ￥
        case 0xFFE0:
          out += u'\u00A2';
          break;  // ￠
        case 0xFFE1:
          out += u'\u00A3';
          break;  // ￡
        case 0xFFE2:
          out += u'\u00AC';
          break;  // ￢
        case 0xFFE3:
          out += u'\u00AF';
          break;  // ￣
        case 0xFFE4:
          out += u'\u00A6';
          break;  // ￤
        case 0x2019:
          out += u'\'';
          break;  // ’
        case 0x201D:
          out += u'"';
          break;  // ”
        default:
          out += c;
      }
    }
  }
  return out;
}

}  // namespace sendnote::platform
