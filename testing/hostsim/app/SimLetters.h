// The letter template the click scenarios write into, shared by the simulator's Outlook
// and by the Word it serves from a process of its own.
#pragma once

#include "inmemory/WordContent.h"

namespace sendnote::windows::test {

inline constexpr char16_t kTemplate[] = u"C:\\Templates\\添書票.dot";

// DOCPROPERTY fields under "OUTLOOK$" in the main text (company, addressee), a text box
// (postal code), a group's text box, the header and its text box, the footer and a
// footnote (company each); a picture without text beside them.
inmemory::WordContent LetterTemplate();
// The same with the prefix markers when `marked`, so that no question is asked.
inmemory::WordContent MarkedTemplate(bool marked);

}  // namespace sendnote::windows::test
