#include "portable/RefusalNotes.h"

#include <optional>

#include "docx/DocxApplication.h"
#include "docx/DocxDocument.h"
#include "docx/Zip.h"
#include "platform/AsciiCase.h"
#include "platform/ComError.h"
#include "platform/Utf.h"
#include "system/letter/modSendnote.h"

namespace sendnote::portable {

namespace {

using platform::ContactField;

constexpr char kWhatThisEditionReads[] =
    "this edition reads .dotx and .dotm templates (a .dot or .docx is not one)";

// The -a value of each address kind.
const char* OptionOf(platform::MailingAddress kind) {
  switch (kind) {
    case platform::MailingAddress::kHome:
      return "home";
    case platform::MailingAddress::kBusiness:
      return "business";
    default:
      return "other";
  }
}

bool EndsWith(std::u16string_view text, std::u16string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// What the Word engine says about the file when it makes a document from it, or nothing
// when it makes one.
std::optional<std::string> EngineRefusal(const std::filesystem::path& file,
                                         docx::DocxApplication& word, bool checkEntries) {
  try {
    auto document = word.Documents()->Add(platform::FromUtf8(file.string()), platform::kFalse,
                                          platform::kWdNewDocument, platform::kFalse);
    // The entries a letter only copies are checked as each letter is written; for a batch a
    // damaged one is found here once, before any box, rather than by every letter.
    if (const auto engine = std::dynamic_pointer_cast<docx::DocxDocument>(document);
        engine && checkEntries) {
      docx::CheckEntries(engine->Model()->GetPackage().Archive());
    }
    document->Close(platform::kWdDoNotSaveChanges);
  } catch (const platform::ComError& e) {
    return platform::ToUtf8(e.Description());
  }
  return std::nullopt;
}

std::string OpenFailure(const std::filesystem::path& file) {
  // It opens now: it changed meanwhile.
  return EngineRefusal(file, *docx::DocxApplication::Create(), true)
      .value_or("it could not be read at the time");
}

bool IsOldBinaryTemplate(const std::filesystem::path& file) {
  return platform::AsciiLowered(std::string_view(file.extension().string())) == ".dot";
}

std::string NoMailingAddressNote(const ContactRecord& contact) {
  std::string kinds;
  int count = 0;
  for (const platform::MailingAddress kind : platform::kAddressKinds) {
    if (!HasAddress(contact, kind)) continue;
    if (count++ > 0) kinds += "|";
    kinds += OptionOf(kind);
  }
  if (count == 0) return "sendnote: the contact has no home, business or other address";
  std::string line = "sendnote: ";
  if (count == 1) {
    line += "the contact's ";
    line += kinds;
    line += " address is not marked as its mailing address: -a ";
    line += kinds;
    line += " picks it";
    return line;
  }
  line += "none of the contact's addresses (";
  for (const char c : kinds) line += c == '|' ? std::string(", ") : std::string(1, c);
  line += ") is marked as its mailing address: -a ";
  line += kinds;
  line += " picks one";
  return line;
}

}  // namespace

bool HasAddress(const ContactRecord& contact, platform::MailingAddress kind) {
  const platform::AddressFields* fields = platform::FieldsOf(kind);
  if (fields == nullptr) return false;
  for (const ContactField field : {fields->whole, fields->street, fields->city, fields->state,
                                   fields->postalCode, fields->postOfficeBox, fields->country}) {
    if (!contact[field].empty()) return true;
  }
  return false;
}

std::string RefusalNote(std::u16string_view boxText, const RefusalContext& context) {
  const std::string file = context.templateFile.string();
  if (boxText == kMsgNotATemplate) {
    std::string line = "sendnote: ";
    line += file;
    line += " is not a template: ";
    line += kWhatThisEditionReads;
    return line;
  }
  if (boxText == kMsgTemplateNotOpened) {
    std::string line = "sendnote: ";
    line += file;
    line += " cannot be opened: ";
    // An old binary template has the name of one; the engine would only call it damaged.
    if (IsOldBinaryTemplate(context.templateFile)) {
      line += kWhatThisEditionReads;
    } else {
      line += OpenFailure(context.templateFile);
    }
    return line;
  }
  if (context.contact && EndsWith(boxText, kMsgNoMailingAddress)) {
    return NoMailingAddressNote(*context.contact);
  }
  return "";
}

std::string TemplateRefusal(const std::filesystem::path& file, docx::DocxApplication& word,
                            bool checkEntries) {
  const std::string extension = platform::AsciiLowered(std::string_view(file.extension().string()));
  std::string line = "sendnote: ";
  line += file.string();
  if (extension != ".dotx" && extension != ".dotm" && !IsOldBinaryTemplate(file)) {
    line += " is not a template: ";
    line += kWhatThisEditionReads;
    return line;
  }
  line += " cannot be opened: ";
  if (IsOldBinaryTemplate(file)) {
    line += kWhatThisEditionReads;
    return line;
  }
  const std::optional<std::string> refusal = EngineRefusal(file, word, checkEntries);
  if (!refusal) return "";
  line += *refusal;
  return line;
}

}  // namespace sendnote::portable
