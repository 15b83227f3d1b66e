// A cover-letter template and one click's document work run through the engine: the
// command's own FillLetter (the letter writer, with the prefix box answered, and the
// field refresh).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "docx/DocxApplication.h"
#include "docx/DocxDocument.h"
#include "templatebuilder/TemplateBuilder.h"

namespace sendnote::docx::testing {

// A letter template: DOCPROPERTY fields of the "OUTLOOK$" prefix in the body (one with
// its code split over three runs and a bold result, one simple), in a table cell and in a
// text box with its VML copy, a DATE and a MERGEFIELD field, a header that shows a
// property too, an inline picture, custom XML data and one property of the user's.
TemplateDescription LetterTemplate();

// The contact's values the letter shows, by property name without the prefix.
std::vector<std::pair<std::u16string, std::u16string>> ExpectedLetterValues();

struct LetterRun {
  std::u16string prefix;                 // the prefix the document ended with
  std::vector<std::u16string> messages;  // message boxes shown, in order
};

// Runs the command's FillLetter on `document` with a business contact, answering the
// prefix box with Yes, or with No and `newPrefix` when that is not empty. Fails the test
// when the command refuses or does not hand the document over as its letter.
LetterRun WriteLetter(const std::shared_ptr<DocxDocument>& document,
                      const std::u16string& newPrefix = u"");

}  // namespace sendnote::docx::testing
