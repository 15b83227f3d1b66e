#include "system/letter/modSendnote.h"

#include "platform/AsciiCase.h"
#include "platform/ComError.h"
#include "platform/Runtime.h"
#include "system/common/ReportError.h"
#include "system/common/modFunc.h"
#include "system/ui/dlgTemplate.h"
#include "system/ui/dlgWindow.h"

namespace sendnote {

using platform::As;
using platform::ComError;
using platform::kFalse;
using platform::kTrue;
using platform::Must;

namespace {

constexpr char16_t kNothingSelected[] = u"連絡先アイテムが選択されていません。";
constexpr char16_t kContactsOnly[] = u"連絡先アイテムのみ利用可能です。";
constexpr char16_t kContactWindowOnly[] = u"連絡先アイテムの場合のみ有効です。";
constexpr char16_t kUntitled[] = u"無題";

bool EndsWith(std::u16string_view s, std::u16string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

// A Word template name: ".dot" in any letter case, and the later ".dotx"/".dotm".
bool IsTemplateName(std::u16string_view name) {
  // Lower-cases ASCII letters only; the suffixes compared against are ASCII.
  const std::u16string lower = platform::AsciiLowered(name);
  return EndsWith(lower, u".dot") || EndsWith(lower, u".dotx") || EndsWith(lower, u".dotm");
}

// Refreshes the prefixed fields of every story and of every text box; shapes without text
// (a logo, say) have none.
void RefreshFields(platform::Document& document, std::u16string_view prefix) {
  ForEachTextFields(document, [&](const std::shared_ptr<platform::Fields>& fields) {
    PropFieldUpdate(fields, prefix);
  });
}

}  // namespace

void MainSendnote(const std::shared_ptr<platform::OutlookApplication>& outlookApp,
                  std::shared_ptr<clsOccation>& occasion) {
  std::shared_ptr<platform::ContactItem> contact;
  std::shared_ptr<platform::WordApplication> wordApp;
  std::shared_ptr<platform::Document> document;

  // Tidies up what this click started: the new document (new-document route only) and a
  // Word started for this click. Failures here go to the handler below.
  auto failureEnding = [&] {
    occasion->Msg()->SetCancel(kTrue);
    if (auto window = Must(outlookApp).ActiveWindow()) window->Activate();
    if (Must(occasion->StaticData()).OutputMode() == 0 && IsObjAlive(document) == kTrue) {
      document->Close(platform::kWdDoNotSaveChanges);
    }
    if (occasion->WordStarted() == kTrue && IsObjAlive(wordApp) == kTrue) {
      wordApp->Quit(platform::kWdDoNotSaveChanges);
    }
  };

  try {
    auto items = SelectItmCheck(outlookApp, *occasion->Msg());
    if (occasion->Msg()->Cancel() == kTrue) return failureEnding();
    if (!items || items->empty()) platform::Raise(platform::kErrSubscript);

    contact = As<platform::ContactItem>(items->front());
    if (Must(contact).SelectedMailingAddress() == platform::MailingAddress::kNone) {
      std::u16string subject = contact->Get(platform::ContactField::kSubject);
      occasion->Msg()->SetMsgText((subject.empty() ? kUntitled : subject) + kMsgNoMailingAddress);
      return failureEnding();
    }

    ShowDialog(occasion, wordApp);
    if (occasion->Msg()->Cancel() == kTrue) return failureEnding();

    const int32_t output = Must(occasion->StaticData()).OutputMode();
    if (output == 2) {
      document = WindowGetName(wordApp, *occasion);
      if (occasion->Msg()->Cancel() == kTrue) return failureEnding();
      Must(wordApp).SetVisible(kTrue);
      wordApp->Activate();
      Must(document).Activate();
    } else {
      Must(wordApp).SetVisible(kTrue);
      wordApp->Activate();
      if (output == 1) {
        document = OpenDocGetName(wordApp, *occasion);
        if (occasion->Msg()->Cancel() == kTrue) return failureEnding();
      } else {
        NewDocGetName(wordApp, *occasion);
        if (occasion->Msg()->Cancel() == kTrue) return failureEnding();

        document = NewDocAdd(wordApp, *occasion);
        if (occasion->Msg()->ErrNumber() != 0) {
          occasion->Msg()->SetMsgText(kMsgTemplateNotOpened);
          return failureEnding();
        }
      }
    }

    FillLetter(document, contact, *occasion);
    if (occasion->Msg()->Cancel() == kTrue) return failureEnding();
  } catch (const ComError& e) {
    ReportError(u"MainSendnote", e);
    occasion->Msg()->SetMsgText(u"");
    occasion->Msg()->SetCancel(kTrue);
  }
}

void FillLetter(const std::shared_ptr<platform::Document>& document,
                const std::shared_ptr<platform::ContactItem>& contact, clsOccation& occasion) {
  WriteDocProp(document, contact, occasion);
  if (occasion.Msg()->Cancel() == kTrue) return;
  RefreshFields(Must(document), occasion.PropPrefix());
  occasion.SetLetter(document);
}

std::optional<ItemCollection> SelectItmCheck(
    const std::shared_ptr<platform::OutlookApplication>& outlookApp, clsMsg& msg) {
  auto refuse = [&msg](const char16_t* text) -> std::optional<ItemCollection> {
    msg.SetCancel(kTrue);
    msg.SetMsgText(text);
    return std::nullopt;
  };
  try {
    auto& outlook = Must(outlookApp);
    ItemCollection items;
    if (platform::TypeNameOf(outlook.ActiveWindow()) == u"Explorer") {
      // The one step whose failure is expected: an unreadable selection counts as none.
      std::shared_ptr<platform::Selection> selection;
      try {
        selection = Must(outlook.ActiveExplorer()).Selection();
      } catch (const ComError&) {
        selection.reset();
      }
      if (!selection) return refuse(kNothingSelected);
      const int16_t count = platform::CInt(selection->Count());
      if (count == 0) return refuse(kNothingSelected);
      for (int32_t i = 1; i <= count; ++i) {
        auto item = selection->Item(i);
        if (IsContactItem(item) != kTrue) return refuse(kContactsOnly);
        items.push_back(std::move(item));
      }
      return items;
    }
    auto item = Must(outlook.ActiveInspector()).CurrentItem();
    if (IsContactItem(item) != kTrue) return refuse(kContactWindowOnly);
    items.push_back(std::move(item));
    return items;
  } catch (const ComError& e) {
    ReportError(u"SelectItmCheck", e);
    msg.SetCancel(kTrue);
    msg.SetMsgText(u"");
    return std::nullopt;
  }
}

void ShowDialog(std::shared_ptr<clsOccation>& occasion,
                std::shared_ptr<platform::WordApplication>& wordApp) {
  try {
    auto dialog = std::make_unique<dlgTemplate>();
    dialog->SetPropSet(occasion);
    dialog->mPwrd = wordApp;
    platform::CurrentRuntime().Ui().ShowModal(*dialog);
    if (Must(dialog->PropSet()).Msg()->Cancel() == kTrue) {
      occasion->Msg()->SetCancel(kTrue);
    } else {
      occasion = dialog->PropSet();
      wordApp = dialog->mPwrd;
    }
  } catch (const ComError& e) {
    ReportError(u"ShowDialog", e);
    occasion->Msg()->SetMsgText(u"");
    occasion->Msg()->SetCancel(kTrue);
  }
}

void NewDocGetName(const std::shared_ptr<platform::WordApplication>& wordApp,
                   clsOccation& occasion) {
  try {
    auto dialog = Must(Must(wordApp).Dialogs()).Item(platform::kWdDialogFileNew);
    for (;;) {
      if (Must(dialog).Display() != -1) {
        occasion.Msg()->SetCancel(kTrue);
        return;
      }
      if (!IsTemplateName(dialog->Template())) {
        ShowMsg(kMsgNotATemplate);
        continue;
      }
      occasion.SetTemplateName(dialog->Template());
      occasion.SetNewTemplate(dialog->NewTemplate().ToFlag());
      return;
    }
  } catch (const ComError& e) {
    ReportError(u"NewDocGetName", e);
    occasion.Msg()->SetMsgText(u"");
    occasion.Msg()->SetCancel(kTrue);
  }
}

std::shared_ptr<platform::Document> NewDocAdd(
    const std::shared_ptr<platform::WordApplication>& wordApp, clsOccation& occasion) {
  try {
    return Must(Must(wordApp).Documents())
        .Add(occasion.TemplateName(), occasion.NewTemplate(), platform::kWdNewDocument, kTrue);
  } catch (const ComError& e) {
    occasion.Msg()->SetErrNumber(e.Number());
    return nullptr;
  }
}

std::shared_ptr<platform::Document> OpenDocGetName(
    const std::shared_ptr<platform::WordApplication>& wordApp, clsOccation& occasion) {
  try {
    auto dialog = Must(Must(wordApp).Dialogs()).Item(platform::kWdDialogFileOpen);
    if (Must(dialog).Display() != -1) {
      occasion.Msg()->SetCancel(kTrue);
      return nullptr;
    }
    const std::u16string fileName = dialog->Name();
    auto documents = wordApp->Documents();
    try {
      return Must(documents).Open(fileName);
    } catch (const ComError& e) {
      // The one failure the user can act on: say why Word could not open the file.
      std::u16string text = kMsgDocumentNotOpened;
      if (!e.Description().empty()) text.append(u"\r").append(e.Description());
      occasion.Msg()->SetErrNumber(e.Number());
      occasion.Msg()->SetMsgText(text);
      occasion.Msg()->SetCancel(kTrue);
      return nullptr;
    }
  } catch (const ComError& e) {
    ReportError(u"OpenDocGetName", e);
    occasion.Msg()->SetMsgText(u"");
    occasion.Msg()->SetCancel(kTrue);
    return nullptr;
  }
}

std::shared_ptr<platform::Document> WindowGetName(
    const std::shared_ptr<platform::WordApplication>& wordApp, clsOccation& occasion) {
  auto none = [&occasion]() -> std::shared_ptr<platform::Document> {
    occasion.Msg()->SetMsgText(kMsgNoOpenDocument);
    occasion.Msg()->SetCancel(kTrue);
    return nullptr;
  };
  try {
    if (!wordApp) return none();
    auto documents = wordApp->Documents();
    const int16_t count = platform::CInt(Must(documents).Count());
    if (count == 0) return none();
    if (count == 1) return documents->Item(1);

    // Documents are told apart by FullName: two wrappers of one document are not one object.
    const std::u16string activeName = Must(wordApp->ActiveDocument()).FullName();
    std::vector<std::shared_ptr<platform::Document>> open;
    std::vector<std::u16string> names;
    int32_t active = 0;
    for (int32_t i = 1; i <= count; ++i) {
      auto document = documents->Item(i);
      if (Must(document).FullName() == activeName) active = i - 1;
      names.push_back(document->Name());
      open.push_back(std::move(document));
    }
    dlgWindow dialog(std::move(names), active);
    platform::CurrentRuntime().Ui().ShowModal(dialog);
    if (dialog.Chosen() < 0) {
      occasion.Msg()->SetCancel(kTrue);
      return nullptr;
    }
    return open[static_cast<size_t>(dialog.Chosen())];
  } catch (const ComError& e) {
    ReportError(u"WindowGetName", e);
    occasion.Msg()->SetMsgText(u"");
    occasion.Msg()->SetCancel(kTrue);
    return nullptr;
  }
}

}  // namespace sendnote
