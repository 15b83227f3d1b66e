// --into DOCUMENT: the letter is written into an existing .docx/.docm (the dialog's
// "open a document" output, with DOCUMENT as the file chosen) and saved back in its place,
// or to -o.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "portable/CommandLine.h"

namespace sendnote::portable {

// Checks that the document can be read by the engine and replaced, and that -o (when
// given) may be written; returns where the letter goes, or nothing after telling why.
// The document itself is only read.
std::optional<std::filesystem::path> PlanIntoDocument(const CommandLine& cl, std::ostream& err);

// True when `output` is the --into document itself (the letter replaces it).
bool WritesInPlace(const CommandLine& cl, const std::filesystem::path& output);

// The File Open dialog's answer for --into: the document's absolute path.
std::u16string IntoFileName(const CommandLine& cl);

}  // namespace sendnote::portable
