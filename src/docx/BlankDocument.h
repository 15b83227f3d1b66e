// The package of Word's blank document, what Documents.Add makes without a template: one
// empty paragraph on an A4 page with the default styles. File New stamps its properties.
#pragma once

#include <string>

namespace sendnote::docx {

// Returns the package's bytes.
std::string BlankDocumentPackage();

}  // namespace sendnote::docx
