// The letter command: the work of one click, from the selection check to the refreshed
// fields of the new document.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/Outlook.h"
#include "platform/Word.h"
#include "system/common/clsMsg.h"
#include "system/common/clsOccation.h"

namespace sendnote {

using ItemCollection = std::vector<std::shared_ptr<platform::OutlookItem>>;

// Refusals the command shows, named so that a host can add an explanation of its own.
// The no-mailing-address text follows the contact's name.
inline constexpr char16_t kMsgNoMailingAddress[] =
    u" の連絡先アイテムに郵送先の住所がチェックされていません。";
inline constexpr char16_t kMsgTemplateNotOpened[] = u"指定されたテンプレートが開けません。";
inline constexpr char16_t kMsgNotATemplate[] =
    u"選択されたファイルは、テンプレート(*.DOT)ではありません。";
// Followed by a line with Word's reason.
inline constexpr char16_t kMsgDocumentNotOpened[] = u"指定された文書が開けません。";
inline constexpr char16_t kMsgNoOpenDocument[] = u"開いている文書がありません。";

// Runs one click's command; reports its outcome through the context: the status record,
// and the new document (Letter) when the command completed.
void MainSendnote(const std::shared_ptr<platform::OutlookApplication>& outlookApp,
                  std::shared_ptr<clsOccation>& occasion);

// Returns the selected (or open) contact items in selection order, or nothing after
// setting Cancel and MsgText.
std::optional<ItemCollection> SelectItmCheck(
    const std::shared_ptr<platform::OutlookApplication>& outlookApp, clsMsg& msg);

// Shows the output dialog; on OK hands back the context and the Word application.
void ShowDialog(std::shared_ptr<clsOccation>& occasion,
                std::shared_ptr<platform::WordApplication>& wordApp);

// Runs Word's File New dialog until a template is chosen (TemplateName, NewTemplate) or
// the user cancels (Cancel).
void NewDocGetName(const std::shared_ptr<platform::WordApplication>& wordApp,
                   clsOccation& occasion);

// Returns the new document made from TemplateName, or empty with ErrNumber set.
std::shared_ptr<platform::Document> NewDocAdd(
    const std::shared_ptr<platform::WordApplication>& wordApp, clsOccation& occasion);

// Output 1: runs Word's File Open dialog and opens the file chosen; returns that document,
// or empty with Cancel set (and MsgText with Word's reason when Word cannot open it).
std::shared_ptr<platform::Document> OpenDocGetName(
    const std::shared_ptr<platform::WordApplication>& wordApp, clsOccation& occasion);

// Output 2: returns the document open in Word that the user writes into: the only one, or
// the one chosen from the list of them. Empty with Cancel set when the list is cancelled,
// and with MsgText too when no document is open (or no Word runs: `wordApp` empty).
std::shared_ptr<platform::Document> WindowGetName(
    const std::shared_ptr<platform::WordApplication>& wordApp, clsOccation& occasion);

// Settles the property prefix with the document and the user, and writes the contact's
// properties into the document.
void WriteDocProp(const std::shared_ptr<platform::Document>& document,
                  const std::shared_ptr<platform::ContactItem>& contact, clsOccation& occasion);

// The command's work on its new document: WriteDocProp, then the refresh of the prefixed
// fields of the main text and of every shape's text; the refreshed document becomes the
// context's Letter. Stops after WriteDocProp when that sets Cancel.
void FillLetter(const std::shared_ptr<platform::Document>& document,
                const std::shared_ptr<platform::ContactItem>& contact, clsOccation& occasion);

}  // namespace sendnote
