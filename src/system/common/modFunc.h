// Shared helpers of the add-in: Word application access, the plain message box, paths,
// contact test, and the text, property and field helpers of the letter command.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Flag.h"
#include "platform/Outlook.h"
#include "platform/Word.h"

namespace sendnote {

using platform::kWordClass;

// --- Word application access and basics ---

// Returns the running Word, or a newly started one (then `started` is set True), or
// empty when neither can be had. Never raises.
std::shared_ptr<platform::WordApplication> GetWordApp(platform::Flag& started);
// Returns the running Word, or empty when none runs or it does not answer; never starts
// one. Never raises.
std::shared_ptr<platform::WordApplication> GetRunningWordApp();
// Creates a new Word into `app`, or empties it when that fails. Never raises.
void NewWordApp(std::shared_ptr<platform::WordApplication>& app);
// True when the reference is set and the object still answers. Never raises.
platform::Flag IsObjAlive(const std::shared_ptr<platform::Object>& object);
// Shows `text` (OK, exclamation icon, AppTitle); returns True when a box was shown, False
// for an empty text.
platform::Flag ShowMsg(std::u16string_view text);
// Joins a folder and a file name with exactly one backslash.
std::u16string PathJoin(std::u16string_view folder, std::u16string_view file);
// True when the item's Class reads as a contact's (40); False when it does not or
// cannot be read. Never raises.
platform::Flag IsContactItem(const std::shared_ptr<platform::Object>& item);

// --- Text helpers (16-bit characters; blanks are U+0020 only) ---

// Returns `s` without leading and trailing U+0020.
std::u16string Trim(std::u16string_view s);
// Returns one blank followed by `s`, or empty for an empty `s`.
std::u16string SpaceBefore(std::u16string_view s);
// Returns the upper three characters of a postal code.
std::u16string PostCodeUpper(std::u16string_view postCode);
// Returns the lower four characters of a postal code.
std::u16string PostCodeLower(std::u16string_view postCode);
// Returns `s` with CR LF, then CR, then LF each replaced by one blank.
std::u16string OneLine(std::u16string_view s);
// Returns the text between the first two double quotes, or empty if there are fewer.
std::u16string QuotedText(std::u16string_view s);

// --- Document properties and DOCPROPERTY fields ---

// True when the collection has a property of that name; any failure counts as absence.
platform::Flag DocPropExists(const std::shared_ptr<platform::DocumentProperties>& props,
                             std::u16string_view name);
// Returns the text cut to the 255 characters Word keeps of a text property, never inside
// a surrogate pair.
std::u16string_view CutToPropertyLimit(std::u16string_view text);
// Sets (or adds, not linked) a property of the given type and text value, the text cut to
// Word's limit; a property linked to content is left unchanged. Failures pass to the caller.
void DocPropSet(const std::shared_ptr<platform::DocumentProperties>& props,
                std::u16string_view name, int32_t type, std::u16string_view value);
// Updates the DOCPROPERTY fields whose property name begins with `prefix`; returns how
// many. Failures pass to the caller.
int16_t PropFieldUpdate(const std::shared_ptr<platform::Fields>& fields,
                        std::u16string_view prefix);
// Returns the fields of a shape's text, or empty for a shape whose frame or text cannot be
// read (a picture, a group, a canvas): such a shape has no fields to visit. Failures of
// the shape itself and of the text's fields pass to the caller.
std::shared_ptr<platform::Fields> ShapeFields(const std::shared_ptr<platform::Shape>& shape);
// Calls `visit` once with the fields of each text of the document that can show a
// property: the main text, the headers and footers of every section, the footnotes,
// endnotes and comments, and every text box anchored in the main text, a header or a
// footer, the items of groups included. A shape that is neither a readable text box nor a
// group is skipped. Other failures, and those of `visit`, pass to the caller.
void ForEachTextFields(platform::Document& document,
                       const std::function<void(const std::shared_ptr<platform::Fields>&)>& visit);
// Rewrites the DOCPROPERTY fields naming `oldPrefix`... to name `newPrefix`...; returns
// how many. Failures pass to the caller.
int16_t PropFieldRename(const std::shared_ptr<platform::Fields>& fields,
                        std::u16string_view oldPrefix, std::u16string_view newPrefix);

}  // namespace sendnote
