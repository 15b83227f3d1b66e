// Japan's 47 prefectures and the municipalities of each, made from Japan Post's data by
// tools/make_municipalities.py (JapaneseMunicipalities.cpp is its output).
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace sendnote::contacts {

// A municipality as a one-line address may name it after its prefecture: a city, a Tokyo
// special ward, a designated city with its ward ("横浜市中区"), or a 郡 with its town or village.
struct Municipality {
  std::u16string_view name;
  // True for the name as the list gives it; false for another form people write where it
  // names this municipality alone ("倶知安町" without its 郡, "横浜市" without a ward, ケ as ヶ).
  bool official;
};

// The prefectures in the order of their codes (北海道 first, 沖縄県 last).
std::span<const std::u16string_view> PrefectureNames();

// The municipalities of the prefecture at that index of PrefectureNames().
std::span<const Municipality> MunicipalitiesOf(size_t prefecture);

}  // namespace sendnote::contacts
