#include "portable/PortableHost.h"

#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <istream>
#include <optional>
#include <ostream>

#include "docx/DocxApplication.h"
#include "docx/FileBatch.h"
#include "docx/TemporaryFiles.h"
#include "fileio/FileKind.h"
#include "platform/ComError.h"
#include "platform/Runtime.h"
#include "platform/Utf.h"
#include "portable/DesktopOpen.h"
#include "portable/HelpPages.h"
#include "portable/IntoDocument.h"
#include "portable/LetterName.h"
#include "portable/PortableRuntime.h"
#include "portable/RefusalNotes.h"
#include "portable/TerminalUi.h"
#include "portable/VisibleText.h"
#include "portable/contacts/ContactFile.h"
#include "portable/hostmodel/OutlookApp.h"
#include "portable/hostmodel/OutlookFolder.h"
#include "portable/hostmodel/OutlookHost.h"
#include "portable/hostmodel/OutlookWindows.h"
#include "system/addin/dsrOutlookToWord.h"
#include "system/common/Version.h"

namespace sendnote::portable {

namespace fs = std::filesystem;
using platform::ContactField;
using platform::FromUtf8;
using platform::ToUtf8;

namespace {

constexpr char16_t kUntitled[] = u"無題";

// A path as printed; a letter's name comes from a contact.
std::string PathText(const fs::path& path) { return VisibleUtf8(path.string()); }

// The default letter name: the template's name, a blank and the contact's Subject.
fs::path DefaultLetterName(LetterName& names, const ContactRecord& record) {
  return fs::path(names.Next(record[ContactField::kSubject]));
}

const char* MailingKindName(platform::MailingAddress kind) {
  switch (kind) {
    case platform::MailingAddress::kHome:
      return "home";
    case platform::MailingAddress::kBusiness:
      return "business";
    case platform::MailingAddress::kOther:
      return "other";
    default:
      return "none";
  }
}

// A contact that marks no mailing address takes the one -a names, as the user would mark
// it in Outlook, when it has that address.
ContactRecord WithChosenAddress(ContactRecord record, int32_t addressKind) {
  const auto kind = static_cast<platform::MailingAddress>(addressKind);
  if (record.mailingAddress == platform::MailingAddress::kNone && HasAddress(record, kind)) {
    record.mailingAddress = kind;
  }
  return record;
}

bool SamePath(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  if (fs::exists(a, ec) && fs::exists(b, ec)) return fs::equivalent(a, b, ec);
  return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

}  // namespace

PortableHost::PortableHost(HostIo io, fs::path programFolder)
    : io_(io), programFolder_(std::move(programFolder)) {}

int PortableHost::Run(const CommandLine& cl) {
  if (cl.help) {
    io_.out << UsageText();
    const fs::path index = HelpFolder(programFolder_) / "index.html";
    std::error_code ec;
    if (fs::is_regular_file(index, ec)) io_.out << "\nHelp pages: " << PathText(index) << "\n";
    return kExitWritten;
  }
  if (cl.version) {
    io_.out << "sendnote " << SENDNOTE_VERSION_MAJOR << "." << SENDNOTE_VERSION_MINOR << "."
            << SENDNOTE_VERSION_BUILD << "." << SENDNOTE_VERSION_REVISION << "\n";
    return kExitWritten;
  }

  std::vector<contacts::ContactEntry> entries;
  std::vector<std::u16string> warnings;
  try {
    entries = contacts::ReadContactFile(fs::path(cl.contacts), &warnings);
  } catch (const platform::ComError& e) {
    io_.err << "sendnote: " << VisibleUtf8(e.Description()) << "\n";
    return kExitUnusable;
  }
  for (const std::u16string& warning : warnings) {
    io_.err << "sendnote: warning: " << VisibleUtf8(warning) << "\n";
  }
  if (cl.list) {
    List(entries);
    return kExitWritten;
  }
  for (const int position : cl.selection) {
    if (position > static_cast<int>(entries.size())) {
      io_.err << "sendnote: contact " << position << " is out of range: " << PathText(cl.contacts)
              << " holds " << entries.size() << " contact(s)\n";
      return kExitUnusable;
    }
  }
  // A contact that cannot be read stops the letter that selects it; --each writes the
  // letters of the others and ends with status 1.
  CommandLine plan = cl;
  plan.selection.clear();
  for (const int position : cl.selection) {
    const contacts::ContactEntry& entry = entries[position - 1];
    if (entry.Readable()) {
      plan.selection.push_back(position);
      continue;
    }
    io_.err << "sendnote: contact " << position << " cannot be read: " << VisibleUtf8(cl.contacts)
            << ", " << VisibleUtf8(entry.problem) << "\n";
    if (!cl.each) return kExitUnusable;
  }
  if (plan.selection.empty()) return kExitUnusable;
  std::vector<ContactRecord> records;
  records.reserve(entries.size());
  for (auto& entry : entries) records.push_back(std::move(entry.record));
  // A template that cannot be used is a file on the command line: refused before any box.
  // The Word of the session reads the template once, here, for every letter of the run.
  // --into names a document, not a template: it is checked when the letters are planned.
  word_ = docx::DocxApplication::Create();
  word_->SetReadTemplatesOnce(true);
  if (const std::string refusal =
          cl.into ? std::string() : TemplateRefusal(fs::path(cl.templatePath), *word_, cl.each);
      !refusal.empty()) {
    io_.err << refusal << "\n";
    return kExitUnusable;
  }
  std::vector<Letter> letters;
  if (!PlanLetters(plan, records, letters)) return kExitUnusable;
  // Every letter was there already; Session would show its boxes for none.
  const int status = letters.empty() ? kExitWritten : Session(plan, records, letters);
  return plan.selection.size() < cl.selection.size() ? std::max(status, kExitStopped) : status;
}

void PortableHost::List(const std::vector<contacts::ContactEntry>& entries) {
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!entries[i].Readable()) {
      io_.out << (i + 1) << "\t(unreadable)\t" << VisibleUtf8(entries[i].problem) << "\n";
      continue;
    }
    const auto& r = entries[i].record;
    const std::u16string subject = r[ContactField::kSubject];
    io_.out << (i + 1) << "\t" << VisibleUtf8(subject.empty() ? kUntitled : subject) << "\t"
            << VisibleUtf8(r[ContactField::kCompanyName]) << "\t"
            << MailingKindName(r.mailingAddress);
    // The mailing address's parts as the letter's fields take them (a line break as a blank):
    // postal code, state, city, street; empty without a mailing address.
    const platform::AddressFields* a = platform::FieldsOf(r.mailingAddress);
    for (const auto member : {&platform::AddressFields::postalCode, &platform::AddressFields::state,
                              &platform::AddressFields::city, &platform::AddressFields::street}) {
      std::u16string text;
      for (const char16_t c : a ? std::u16string_view(r[a->*member]) : std::u16string_view()) {
        if (c == u'\n') continue;
        text += c == u'\r' ? u' ' : c;
      }
      io_.out << "\t" << VisibleUtf8(text);
    }
    io_.out << "\n";
  }
}

bool PortableHost::PlanLetters(const CommandLine& cl, const std::vector<ContactRecord>& records,
                               std::vector<Letter>& letters) {
  if (cl.into) {
    const auto output = PlanIntoDocument(cl, io_.err);
    if (output) letters.push_back({cl.selection, *output});
    return output.has_value();
  }
  const fs::path templatePath(cl.templatePath);
  LetterName names(FromUtf8(templatePath.stem().string()));
  std::error_code ec;
  if (cl.each) {
    const fs::path folder = cl.output ? fs::path(*cl.output) : fs::current_path(ec);
    if (fs::exists(folder, ec) && !fs::is_directory(folder, ec)) {
      io_.err << "sendnote: " << PathText(folder) << " is not a folder (--each writes into one)\n";
      return false;
    }
    for (const int position : cl.selection) {
      letters.push_back({{position}, folder / DefaultLetterName(names, records[position - 1])});
    }
  } else {
    const fs::path output =
        cl.output ? fs::path(*cl.output) : DefaultLetterName(names, records[cl.selection[0] - 1]);
    letters.push_back({cl.selection, output});
  }
  // What a killed run of ours left in the letters' folder goes first, whatever follows.
  timespec now = {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  docx::TemporaryFiles::RemoveStale(letters.front().output.parent_path(), now);
  size_t skipped = 0;
  std::vector<Letter> planned;
  for (auto& letter : letters) {
    if (SamePath(letter.output, templatePath)) {
      io_.err << "sendnote: the letter would replace its template: " << PathText(letter.output)
              << "\n";
      return false;
    }
    if (SamePath(letter.output, fs::path(cl.contacts))) {
      io_.err << "sendnote: the letter would replace its contacts file: " << PathText(letter.output)
              << "\n";
      return false;
    }
    // Only a regular file is ever replaced, with or without --force.
    struct stat st;
    const bool exists = ::lstat(letter.output.c_str(), &st) == 0;
    if (exists && !S_ISREG(st.st_mode)) {
      io_.err << "sendnote: " << PathText(letter.output) << " is "
              << fileio::FileKindName(st.st_mode) << "; only a regular file is replaced\n";
      return false;
    }
    if (exists && cl.skipExisting) {
      ++skipped;
      continue;
    }
    if (!cl.force && exists) {
      io_.err << "sendnote: " << PathText(letter.output) << " exists; use --force to replace it\n";
      return false;
    }
    planned.push_back(std::move(letter));
  }
  letters = std::move(planned);
  if (skipped > 0) {
    io_.err << "sendnote: " << skipped << (skipped == 1 ? " letter" : " letters")
            << " skipped: " << (skipped == 1 ? "its file exists" : "their files exist") << "\n";
  }
  if (cl.each && cl.output) {
    fs::create_directories(*cl.output, ec);
    if (ec) {
      io_.err << "sendnote: cannot make the folder " << *cl.output << ": " << ec.message() << "\n";
      return false;
    }
  }
  return true;
}

int PortableHost::Session(const CommandLine& cl, const std::vector<ContactRecord>& records,
                          const std::vector<Letter>& letters) {
  TerminalAnswers answers;
  answers.yes = cl.yes;
  if (cl.prefix) answers.prefix = FromUtf8(*cl.prefix);
  answers.addressKind = cl.addressKind;
  if (cl.into) answers.output = 1;  // open a document: DOCUMENT is the file chosen
  TerminalUi ui(io_.in, io_.err, io_.interactive, answers);
  ui.SetHelpFolder(HelpFolder(programFolder_).string());
  ui.SetHelpOpener(OpenWithDesktop);
  ui.SetColumns(io_.columns);
  // Letters of a run share the dialog's answers; on a terminal a progress line takes the
  // place of their paths.
  if (cl.each) ui.SetAnswerOnce(true);
  const bool progress = cl.each && io_.interactive;
  const bool listLetters = !progress || !io_.outTerminal;
  RefusalContext refusal;
  ui.SetBoxNote([&](std::u16string_view text) { return RefusalNote(text, refusal); });

  // Word's File New dialog offers TEMPLATE first; after a rejected file it asks for
  // another path on a terminal and is cancelled without one.
  std::error_code ec;
  const std::u16string templateName = FromUtf8(fs::absolute(cl.templatePath, ec).string());
  int fileNewShown = 0;
  auto prompt = [&](const docx::FileNewChoice&) -> docx::FileNewChoice {
    if (++fileNewShown == 1) {
      refusal.templateFile = cl.templatePath;
      return {true, templateName, false};
    }
    auto answer = ui.AskLine(u"テンプレートのパス: ");
    if (!answer || answer->empty()) return {};
    refusal.templateFile = ToUtf8(*answer);
    return {true, FromUtf8(fs::absolute(ToUtf8(*answer), ec).string()), false};
  };
  // --each makes its letters durable together, in batches: a crash leaves each letter
  // whole or absent, and a path is printed only once its letter is in place.
  std::optional<docx::FileBatch> batch;
  std::vector<fs::path> staged;  // the outputs in the batch, as the user named them
  if (cl.each) batch.emplace();
  std::shared_ptr<docx::DocxApplication> word;
  auto startWord = [&]() -> std::shared_ptr<platform::WordApplication> {
    if (!word_ || word_->HasQuit()) {
      word_ = docx::DocxApplication::Create();
      word_->SetReadTemplatesOnce(true);
    }
    word = word_;
    word->SetFileNewPrompt(prompt);
    if (cl.into) word->SetFileOpenPrompt([&cl] { return IntoFileName(cl); });
    word->SetSaveBatch(batch ? &*batch : nullptr);
    return word;
  };
  PortableRuntime runtime(ui, startWord, FromUtf8(programFolder_.string()));
  platform::ScopedRuntime scope(runtime);

  auto host = hostmodel::OutlookHost::Create();
  auto outlook = host->Start();
  std::vector<std::shared_ptr<platform::OutlookItem>> items;
  for (const auto& record : records) {
    items.push_back(host->Contacts()->AddContact(WithChosenAddress(record, cl.addressKind)));
  }
  auto explorer = outlook->OpenExplorer(host->Contacts());

  dsrOutlookToWord addin;
  std::optional<ClickOutcome> outcome;
  addin.SetClickListener([&outcome](const ClickOutcome& o) { outcome = o; });
  addin.IDTExtensibility2_OnConnection(outlook, 1, outlook->NewAddInInstance());
  int status = kExitWritten;
  if (!addin.cbbAddin()) {
    ui.Note("sendnote: the add-in did not connect");
    status = kExitStopped;
  }

  size_t written = 0;
  auto cannotWrite = [&](const fs::path& output, const platform::ComError& e) {
    std::string line = "sendnote: cannot write ";
    line += PathText(output);
    line += ": ";
    line += VisibleUtf8(e.Description());
    ui.Note(line);
  };
  auto commit = [&] {
    const auto outcomes = batch->Commit();
    for (size_t k = 0; k < outcomes.size(); ++k) {
      if (outcomes[k].error) {
        cannotWrite(staged[k], *outcomes[k].error);
        status = std::max(status, kExitStopped);
        continue;
      }
      ++written;
      if (listLetters) io_.out << PathText(staged[k]) << "\n";
    }
    io_.out.flush();
    staged.clear();
  };

  for (size_t i = 0; i < letters.size() && addin.cbbAddin() && !ui.CancelledOnce(); ++i) {
    const Letter& letter = letters[i];
    refusal.contact = &records[letter.selection.front() - 1];
    std::vector<std::shared_ptr<platform::OutlookItem>> selected;
    for (const int position : letter.selection) selected.push_back(items[position - 1]);
    explorer->Select(selected);
    explorer->Activate();
    fileNewShown = 0;
    outcome.reset();
    outlook->ClickButton(addin.cbbAddin());

    // The add-in says how the click ended; a completed click hands over its new document.
    std::shared_ptr<platform::Document> letterDoc;
    if (outcome && outcome->kind == ClickOutcome::Kind::kCompleted) letterDoc = outcome->document;
    int letterStatus = kExitStopped;
    if (letterDoc) {
      try {
        if (batch && batch->Full()) commit();
        letterDoc->SaveAs(FromUtf8(letter.output.string()),
                          cl.force || WritesInPlace(cl, letter.output));
        if (batch) {
          staged.push_back(letter.output);
        } else {
          io_.out << PathText(letter.output) << "\n";
          io_.out.flush();
        }
        letterStatus = kExitWritten;
        if (progress) {
          std::string line = std::to_string(i + 1);
          line += "/";
          line += std::to_string(letters.size());
          line += " ";
          line += letter.output.filename().string();
          ui.ShowProgress(line);
        }
      } catch (const platform::ComError& e) {
        cannotWrite(letter.output, e);
      }
    }
    // The letter is saved (or abandoned): the engine's copy is not needed any more.
    if (letterDoc) {
      try {
        letterDoc->Close(platform::kWdDoNotSaveChanges);
      } catch (const platform::ComError&) {
      }
    }
    status = std::max(status, letterStatus);
  }
  if (batch) commit();
  ui.EndProgress();
  if (!listLetters) {
    io_.out << written << (written == 1 ? " letter" : " letters") << " written into "
            << PathText(cl.output ? fs::path(*cl.output) : fs::path(".")) << "\n";
  }

  addin.IDTExtensibility2_OnBeginShutdown();
  addin.IDTExtensibility2_OnDisconnection(0);
  if (word && !word->HasQuit()) {
    try {
      word->Quit(platform::kWdDoNotSaveChanges);
    } catch (const platform::ComError&) {
    }
  }
  host->Shutdown();
  return status;
}

}  // namespace sendnote::portable
