// Settling the property prefix with the document and the user, and writing one contact
// into the document's custom properties.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ComError.h"
#include "platform/Runtime.h"
#include "platform/Variant.h"
#include "system/common/Like.h"
#include "system/common/ReportError.h"
#include "system/common/modFunc.h"
#include "system/letter/PropertyList.h"
#include "system/letter/modSendnote.h"

namespace sendnote {

using platform::As;
using platform::kFalse;
using platform::kTrue;
using platform::Must;

namespace {

constexpr char16_t kMarkerName[] = u"SENDNOTE$PROPERTY";
constexpr char16_t kPrefixName[] = u"SENDNOTE$PREFIX";
constexpr char16_t kAskPrefixHead[] =
    u"この文書に添書票COMアドイン用のプロパティを設定します。\r"
    u"プロパティを識別するための接頭句として、";
constexpr char16_t kAskPrefixTail[] = u" を使用します。よろしいですか？";
constexpr char16_t kEnterPrefix[] =
    u"添書票COMアドイン用のプロパティを識別する接頭句を入力してください。";
constexpr char16_t kPrefixSetHead[] = u"添書票COMアドイン用のプロパティの接頭句を、";
constexpr char16_t kPrefixSetTail[] = u" に設定しました。";
constexpr char16_t kDocumentGone[] = u"作成する文書が見当たりません。";

std::shared_ptr<platform::WordApplication> WordOf(platform::Document& document) {
  return As<platform::WordApplication>(document.Application());
}

// Reads the markers: sets DocPropNew, and takes a stored, non-empty text prefix.
void ReadMarkers(const std::shared_ptr<platform::DocumentProperties>& props,
                 clsOccation& occasion) {
  occasion.SetDocPropNew(kTrue);
  if (DocPropExists(props, kMarkerName) == kTrue) {
    auto marker = props->Item(kMarkerName);
    if (Must(marker).Type() == platform::kPropertyBoolean && marker->Value().ToFlag() == kTrue) {
      occasion.SetDocPropNew(kFalse);
    }
  }
  if (DocPropExists(props, kPrefixName) == kTrue) {
    auto stored = props->Item(kPrefixName);
    if (Must(stored).Type() == platform::kPropertyString) {
      std::u16string prefix = stored->Value().ToString();
      if (!prefix.empty()) occasion.SetPropPrefix(std::move(prefix));
    }
  }
}

// Asks the user to confirm the current prefix or to type another. Returns the new
// prefix, or nothing when the user cancels.
std::optional<std::u16string> AskPrefix(const std::u16string& current) {
  auto& ui = platform::CurrentRuntime().Ui();
  const std::u16string question = kAskPrefixHead + current + kAskPrefixTail;
  const int32_t answer =
      ui.MsgBox(question, platform::kVbYesNoCancel + platform::kVbInformation, kAppTitle);
  if (answer == platform::kVbYes) return current;
  if (answer != platform::kVbNo) return std::nullopt;  // Cancel, or the box closed

  std::u16string typed = ui.InputBox(kEnterPrefix, kAppTitle, current);
  if (!Trim(typed).empty()) return typed;
  ui.MsgBox(std::u16string(kPrefixSetHead) + kDefaultPrefix + kPrefixSetTail,
            platform::kVbInformation, kAppTitle);
  return std::u16string(kDefaultPrefix);
}

// Deletes the properties whose names fit the old prefix followed by "*". The collection
// is read in full first, so that deleting does not skip the item after a deleted one.
void DeletePrefixed(platform::DocumentProperties& props, std::u16string_view oldPrefix) {
  const std::u16string pattern = std::u16string(oldPrefix) + u"*";
  std::vector<std::shared_ptr<platform::DocumentProperty>> snapshot;
  const int32_t count = props.Count();
  for (int32_t i = 1; i <= count; ++i) snapshot.push_back(props.Item(i));
  for (const auto& property : snapshot) {
    if (Like(Must(property).Name(), pattern)) property->Delete();
  }
}

// Points the DOCPROPERTY fields of every story and of every text box at the new prefix;
// shapes without text have none.
void RenameFields(platform::Document& document, std::u16string_view oldPrefix,
                  std::u16string_view newPrefix) {
  ForEachTextFields(document, [&](const std::shared_ptr<platform::Fields>& fields) {
    PropFieldRename(fields, oldPrefix, newPrefix);
  });
}

// The outcome of settling the prefix.
enum class Settled { kGoOn, kCancelled, kDocumentGone };

Settled SettlePrefix(const std::shared_ptr<platform::Document>& document,
                     const std::shared_ptr<platform::DocumentProperties>& props,
                     clsOccation& occasion) {
  ReadMarkers(props, occasion);
  if (occasion.DocPropNew() != kTrue) return Settled::kGoOn;

  Must(WordOf(*document)).SetVisible(kFalse);
  const std::optional<std::u16string> newPrefix = AskPrefix(occasion.PropPrefix());
  if (!newPrefix) {
    Must(WordOf(*document)).SetVisible(kTrue);
    document->Activate();
    occasion.Msg()->SetCancel(kTrue);
    return Settled::kCancelled;
  }

  // The user may have closed the document, or Word, while the boxes were open.
  if (IsObjAlive(document) != kTrue) {
    occasion.Msg()->SetMsgText(kDocumentGone);
    occasion.Msg()->SetCancel(kTrue);
    return Settled::kDocumentGone;
  }

  const std::u16string oldPrefix = occasion.PropPrefix();
  DeletePrefixed(*props, oldPrefix);
  RenameFields(*document, oldPrefix, *newPrefix);
  DocPropSet(props, kMarkerName, platform::kPropertyBoolean,
             platform::Variant::Bool(kTrue).ToString());
  DocPropSet(props, kPrefixName, platform::kPropertyString, *newPrefix);
  occasion.SetPropPrefix(*newPrefix);
  return Settled::kGoOn;
}

}  // namespace

void WriteDocProp(const std::shared_ptr<platform::Document>& document,
                  const std::shared_ptr<platform::ContactItem>& contact, clsOccation& occasion) {
  try {
    auto props = Must(document).CustomDocumentProperties();
    const Settled settled = SettlePrefix(document, props, occasion);
    if (settled == Settled::kDocumentGone) return;

    if (settled == Settled::kGoOn) {
      const PropertyList list = BuildPropertyList(
          Must(contact),
          static_cast<platform::MailingAddress>(Must(occasion.StaticData()).AddressKind()));
      for (const PropertyEntry& entry : list) {
        DocPropSet(props, occasion.PropPrefix() + entry.name, platform::kPropertyString,
                   Trim(OneLine(entry.value)));
      }
    }

    auto word = WordOf(*document);
    Must(word).SetVisible(kTrue);
    word->Activate();
  } catch (const platform::ComError& e) {
    ReportError(u"WriteDocProp", e);
    occasion.Msg()->SetMsgText(u"");
    occasion.Msg()->SetCancel(kTrue);
  }
}

}  // namespace sendnote
