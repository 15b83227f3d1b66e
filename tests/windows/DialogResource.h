// A dialog template as the program's module holds it (the Japanese DIALOGEX resource of
// Dialogs.rc, linked into the test program): its title, its font and each control's id
// and caption, so that the checks expect what the resource says instead of copying it.
#pragma once

#include "windows/com/Win32.h"

#include <cstdint>
#include <map>
#include <string>

namespace sendnote::windows::test {

struct DialogResource {
  bool found = false;
  DWORD style = 0;
  std::wstring title;
  WORD points = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::wstring face;
  std::map<int, std::wstring> captions;  // by control id; a picture's (an ordinal) is empty

  // The caption of control `id` in the template (empty when it has none).
  std::wstring Caption(int id) const {
    const auto at = captions.find(id);
    return at == captions.end() ? std::wstring() : at->second;
  }
};

namespace dialog_resource {

// A name or ordinal field of the template: 0 (none), 0xFFFF and an ordinal, or a string.
inline const WORD* Field(const WORD* at, std::wstring* text) {
  if (*at == 0xFFFF) return at + 2;
  const WORD* start = at;
  while (*at != 0) ++at;
  if (text) text->assign(start, at);
  return at + 1;
}

inline const WORD* Aligned(const WORD* at) {
  return reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(at) + 3) & ~uintptr_t{3});
}

}  // namespace dialog_resource

// Reads DLGTEMPLATEEX `id` of this program: version 1, signature 0xFFFF, help id, styles,
// item count, rectangle; menu, class, title, the font when DS_SETFONT; then the items,
// each DWORD-aligned: help id, styles, rectangle, id, class, caption and extra data.
inline DialogResource ReadDialogResource(int id) {
  using dialog_resource::Aligned;
  using dialog_resource::Field;
  DialogResource dialog;
  HRSRC found = ::FindResourceExW(nullptr, RT_DIALOG, MAKEINTRESOURCEW(id),
                                  MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
  if (!found) return dialog;
  const auto* words = static_cast<const WORD*>(::LockResource(::LoadResource(nullptr, found)));
  if (!words || words[0] != 1 || words[1] != 0xFFFF) return dialog;
  dialog.found = true;
  dialog.style = words[6] | (static_cast<DWORD>(words[7]) << 16);
  const WORD count = words[8];
  const WORD* at = Field(Field(words + 13, nullptr), nullptr);
  at = Field(at, &dialog.title);
  if (dialog.style & DS_SETFONT) {
    dialog.points = at[0];
    dialog.weight = at[1];
    dialog.italic = LOBYTE(at[2]);
    dialog.charset = HIBYTE(at[2]);
    at = Field(at + 3, &dialog.face);
  }
  for (WORD i = 0; i < count; ++i) {
    at = Aligned(at);
    const int control = static_cast<int>(at[10] | (static_cast<DWORD>(at[11]) << 16));
    std::wstring caption;
    at = Field(Field(at + 12, nullptr), &caption);
    dialog.captions[control] = caption;
    at = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(at + 1) + *at);
  }
  return dialog;
}

}  // namespace sendnote::windows::test
