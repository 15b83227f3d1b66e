#include "inmemory/WordFields.h"

#include <algorithm>
#include <array>
#include <utility>

#include "inmemory/WordApp.h"
#include "inmemory/WordDocument.h"
#include "inmemory/WordProperties.h"
#include "inmemory/WordValue.h"
#include "platform/ComError.h"

namespace sendnote::inmemory {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Returns the position after leading blanks and the field word (letters up to a blank,
// quote or switch).
size_t SkipFieldWord(std::u16string_view code, size_t& wordStart) {
  size_t pos = 0;
  while (pos < code.size() && IsBlank(code[pos])) ++pos;
  wordStart = pos;
  while (pos < code.size() && !IsBlank(code[pos]) && code[pos] != u'"' && code[pos] != u'\\') {
    ++pos;
  }
  return pos;
}

char16_t UpperAscii(char16_t c) { return c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c; }

constexpr std::array<std::pair<std::u16string_view, int32_t>, 35> kFieldTypes = {{
    {u"REF", 3},          {u"SET", 6},          {u"IF", 7},           {u"SEQ", 12},
    {u"TOC", 13},         {u"TITLE", 15},       {u"SUBJECT", 16},     {u"AUTHOR", 17},
    {u"KEYWORDS", 18},    {u"COMMENTS", 19},    {u"LASTSAVEDBY", 20}, {u"CREATEDATE", 21},
    {u"SAVEDATE", 22},    {u"PRINTDATE", 23},   {u"REVNUM", 24},      {u"EDITTIME", 25},
    {u"NUMPAGES", 26},    {u"NUMWORDS", 27},    {u"NUMCHARS", 28},    {u"FILENAME", 29},
    {u"TEMPLATE", 30},    {u"DATE", 31},        {u"TIME", 32},        {u"PAGE", 33},
    {u"PAGEREF", 37},     {u"ASK", 38},         {u"FILLIN", 39},      {u"MERGEFIELD", 59},
    {u"USERNAME", 60},    {u"DOCVARIABLE", 64}, {u"SECTION", 65},     {u"SECTIONPAGES", 66},
    {u"DOCPROPERTY", 85}, {u"HYPERLINK", 88},   {u"SYMBOL", 57},
}};

}  // namespace

int32_t FieldTypeOfCode(std::u16string_view code) {
  size_t start = 0;
  const size_t end = SkipFieldWord(code, start);
  std::u16string word(code.substr(start, end - start));
  std::ranges::transform(word, word.begin(), UpperAscii);
  for (const auto& [name, type] : kFieldTypes) {
    if (name == word) return type;
  }
  return kWdFieldEmpty;
}

std::u16string DocPropertyNameOfCode(std::u16string_view code) {
  size_t start = 0;
  size_t pos = SkipFieldWord(code, start);
  while (pos < code.size() && IsBlank(code[pos])) ++pos;
  if (pos >= code.size()) return u"";
  if (code[pos] == u'"') {
    const size_t close = code.find(u'"', pos + 1);
    const size_t end = close == std::u16string_view::npos ? code.size() : close;
    return std::u16string(code.substr(pos + 1, end - pos - 1));
  }
  if (code[pos] == u'\\') return u"";  // a switch, no name
  size_t end = pos;
  while (end < code.size() && !IsBlank(code[end]) && code[end] != u'\\') ++end;
  return std::u16string(code.substr(pos, end - pos));
}

// --- WordRange ---

WordRange::WordRange(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document)
    : WordNode(u"Range", std::move(session), std::move(document)) {}

std::shared_ptr<platform::Object> WordRange::Application() {
  Call(u"Application");
  return App();
}

std::u16string WordRange::Text() {
  Call(u"Text");
  return ReadText();
}

void WordRange::SetText(std::u16string_view text) {
  Call(u"Text");
  WriteText(text);
}

std::shared_ptr<platform::Fields> WordRange::Fields() {
  Call(u"Fields");
  return FieldsOfRange();
}

// A field's code or result. Nested fields are not modelled: its Fields are empty.
class WordFieldPartRange : public WordRange {
 public:
  WordFieldPartRange(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                     std::weak_ptr<WordField> field, bool code)
      : WordRange(session, document),
        field_(std::move(field)),
        code_(code),
        none_(std::make_shared<WordFields>(std::move(session), std::move(document))) {}

 protected:
  bool Deleted() const override {
    auto field = field_.lock();
    return !field || field->IsDeleted();
  }
  std::u16string ReadText() const override {
    auto field = field_.lock();
    return code_ ? field->Content().code : field->Content().result;
  }
  void WriteText(std::u16string_view text) override;
  std::shared_ptr<WordFields> FieldsOfRange() override { return none_; }

 private:
  std::weak_ptr<WordField> field_;
  bool code_;
  std::shared_ptr<WordFields> none_;
};

void WordFieldPartRange::WriteText(std::u16string_view text) {
  auto field = field_.lock();
  if (code_) {
    field->WriteCode(text);
  } else {
    field->WriteResult(text);
  }
}

// --- WordField ---

WordField::WordField(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document,
                     WordFieldContent content, FieldPlace place)
    : WordNode(u"Field", std::move(session), std::move(document)),
      content_(std::move(content)),
      place_(place) {}

std::shared_ptr<WordField> WordField::Create(std::weak_ptr<WordSession> session,
                                             std::weak_ptr<WordDocument> document,
                                             WordFieldContent content, FieldPlace place) {
  std::shared_ptr<WordField> field(new WordField(session, document, std::move(content), place));
  field->code_ = std::make_shared<WordFieldPartRange>(session, document, field, true);
  field->result_ = std::make_shared<WordFieldPartRange>(session, document, field, false);
  return field;
}

std::shared_ptr<platform::Object> WordField::Application() {
  Call(u"Application");
  return App();
}

int32_t WordField::Type() {
  Call(u"Type");
  return FieldTypeOfCode(content_.code);
}

std::shared_ptr<platform::Range> WordField::Code() {
  Call(u"Code");
  return code_;
}

std::shared_ptr<platform::Range> WordField::Result() {
  Call(u"Result");
  return result_;
}

platform::Flag WordField::Update() {
  Call(u"Update");
  if (FieldTypeOfCode(content_.code) != platform::kWdFieldDocProperty) return platform::kTrue;
  const std::u16string name = DocPropertyNameOfCode(content_.code);
  auto property = name.empty() ? nullptr : Document()->PropertiesObject()->Find(name);
  if (!property) {
    content_.result = kUnknownPropertyText;
    return platform::kTrue;
  }
  const WordPropertyContent current = property->Content();
  content_.result = FieldDisplayText(current.value, current.type);
  return platform::kTrue;
}

// --- WordFields ---

WordFields::WordFields(std::weak_ptr<WordSession> session, std::weak_ptr<WordDocument> document)
    : WordNode(u"Fields", std::move(session), std::move(document)) {}

void WordFields::RemoveAll() {
  for (const auto& field : items_) field->MarkDeleted();
  items_.clear();
}

std::shared_ptr<platform::Object> WordFields::Application() {
  Call(u"Application");
  return App();
}

int32_t WordFields::Count() {
  Call(u"Count");
  return static_cast<int32_t>(items_.size());
}

std::shared_ptr<platform::Field> WordFields::Item(int32_t index) {
  Call(u"Item");
  if (index < 1 || static_cast<size_t>(index) > items_.size()) {
    platform::Raise(kErrWordNoSuchMember,
                    u"The requested member of the collection does not exist.");
  }
  return items_[static_cast<size_t>(index) - 1];
}

}  // namespace sendnote::inmemory
