#include "fuzz/FuzzTargets.h"

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "docx/CustomProperties.h"
#include "docx/DocxApplication.h"
#include "docx/DocxDocument.h"
#include "docx/Package.h"
#include "docx/Story.h"
#include "docx/XmlPart.h"
#include "docx/Zip.h"
#include "platform/ComError.h"
#include "platform/Utf.h"
#include "platform/Variant.h"
#include "platform/Word.h"
#include "portable/contacts/Charset.h"
#include "portable/contacts/ContactFile.h"
#include "portable/contacts/QuotedPrintable.h"
#include "wordrules/FieldFormat.h"
#include "wordrules/WordFieldCode.h"

namespace sendnote::fuzz {
namespace {

// Smaller than the program's limits, so that a target refuses big inputs quickly; the
// limit checks themselves are the same code.
docx::ZipLimits FuzzZipLimits() {
  docx::ZipLimits limits;
  limits.maxEntries = 200;
  limits.maxExpandedBytes = 64ull << 20;
  limits.maxEntryBytes = 16ull << 20;
  return limits;
}

// Runs `read`, treating the one error type as a refusal.
template <typename Read>
void Refusable(Read&& read) {
  try {
    read();
  } catch (const platform::ComError&) {
  }
}

void VCard(std::string_view input) {
  Refusable([&] { contacts::ParseContactFile(input, u"fuzz.vcf"); });
}

void Csv(std::string_view input) {
  Refusable([&] { contacts::ParseContactFile(input, u"fuzz.csv"); });
}

// The first byte picks the character set; the rest is decoded as it is and after
// quoted-printable decoding, as a vCard value is.
void Charset(std::string_view input) {
  static constexpr std::array<std::string_view, 7> kSets = {
      "UTF-8", "CP932", "US-ASCII", "ISO-8859-1", "CP1252", "EUC-JP", "ISO-2022-JP"};
  if (input.empty()) return;
  const std::string_view set = kSets[static_cast<unsigned char>(input[0]) % kSets.size()];
  const std::string_view bytes = input.substr(1);
  Refusable([&] {
    contacts::DecodeCharset(bytes, set);
    contacts::DecodeCharset(contacts::DecodeQuotedPrintable(bytes), set);
    contacts::CanonicalCharset(bytes.substr(0, 32));
  });
}

void Zip(std::string_view input) {
  Refusable([&] {
    auto archive =
        docx::ZipArchive::Open(std::make_shared<const std::string>(input), FuzzZipLimits());
    docx::ZipEdits edits;
    for (size_t i = 0; i < archive->Entries().size(); ++i) {
      if (archive->Entries()[i].directory) continue;
      const std::string data = archive->Read(i);
      if (edits.replaced.empty()) edits.replaced[i] = data + "x";
    }
    docx::RewriteZip(*archive, edits);
  });
}

// A package's content types, relationships of every part and custom properties.
void PackageParts(std::string_view input) {
  Refusable([&] {
    auto package = docx::Package::Open(std::make_shared<const std::string>(input), FuzzZipLimits());
    for (const auto& relationship : package->Relationships("/")) {
      const auto part = docx::ResolvePartName("/", relationship.target);
      if (!part || !package->HasPart(*part)) continue;
      package->ContentType(*part);
      package->Relationships(*part);
    }
    docx::CustomProperties properties(
        *package, [](std::u16string_view) { return std::optional<std::u16string>(); });
    for (size_t i = 0; i < properties.Count(); ++i) {
      const auto& entry = properties.At(i);
      properties.ValueOf(*entry);
      properties.TypeOf(*entry);
    }
  });
}

// A document part's body as a story: its fields' codes and results, its shapes' stories.
void StoryPart(std::string_view input) {
  Refusable([&] {
    docx::XmlPart part("/word/document.xml", input);
    pugi::xml_node body = part.Root().child("w:body");
    if (!body) body = part.Root();
    docx::Story story(part, body, pugi::xml_node(), true);
    for (docx::FieldState* field : story.Fields()) {
      wordrules::FieldTypeOfCode(story.CodeText(*field));
      story.ResultText(*field);
    }
    for (docx::ShapeState* shape : story.Shapes()) {
      if (!shape->text) continue;
      docx::Story& text = story.TextOf(*shape);
      for (docx::FieldState* field : text.Fields()) text.CodeText(*field);
    }
    part.Serialize();
  });
}

void FieldCode(std::string_view input) {
  const std::u16string code = platform::FromUtf8(input);
  wordrules::FieldTypeOfCode(code);
  wordrules::DocPropertyNameOfCode(code);
  const wordrules::FormatSwitches switches = wordrules::ReadFormatSwitches(code);
  wordrules::ApplyCase(code, switches.letterCase);
}

// A folder of its own for the letter target's files, removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sendnote-fuzz-XXXXXX");
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// A letter that was written must pass a full check of every entry: its checksum and that it
// expands to its declared size, each entry expanded by the reader (not by the copying code
// under test). Anything else is a fault of the writer, reported as a crash.
void CheckWholeLetter(const std::filesystem::path& letterPath) {
  std::ifstream in(letterPath, std::ios::binary);
  if (!in) return;  // refused: nothing written
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  docx::ZipLimits limits;  // the letter's own sizes and ratios are not in question here
  limits.maxEntries = 0xFFFF;
  limits.maxExpandedBytes = ~0ull;
  limits.maxEntryBytes = ~0ull;
  limits.maxRatio = ~0ull;
  try {
    auto archive = docx::ZipArchive::Open(std::make_shared<const std::string>(bytes), limits);
    for (size_t i = 0; i < archive->Entries().size(); ++i) {
      if (!archive->Entries()[i].directory) archive->Read(i);
    }
  } catch (const platform::ComError& e) {
    std::fprintf(stderr, "the letter fails its check: %s\n",
                 platform::ToUtf8(e.Description()).c_str());
    std::abort();
  }
}

// A whole letter: the input is the template; the letter gets properties, its fields are
// refreshed and it is saved.
void Letter(std::string_view input) {
  static const ScratchFolder folder;
  const std::filesystem::path templatePath = folder.Path() / "template.dotx";
  const std::filesystem::path letterPath = folder.Path() / "letter.docx";
  {
    std::ofstream out(templatePath, std::ios::binary | std::ios::trunc);
    out.write(input.data(), static_cast<std::streamsize>(input.size()));
  }
  std::filesystem::remove(letterPath);
  docx::TemplateLimits limits;
  limits.zip = FuzzZipLimits();
  auto word = docx::DocxApplication::Create(limits);
  Refusable([&] {
    auto document = word->Documents()->Add(platform::FromUtf8(templatePath.string()),
                                           platform::kFalse, 0, platform::kTrue);
    auto properties = document->CustomDocumentProperties();
    properties->Add(u"OUTLOOK$会社名", platform::kFalse, 4,
                    platform::Variant::String(u"株式会社山田商事"));
    properties->Add(u"OUTLOOK$郵便番号", platform::kFalse, 4,
                    platform::Variant::String(u"150-8512"));
    auto fields = document->Fields();
    for (int32_t i = 1; i <= fields->Count(); ++i) fields->Item(i)->Update();
    auto shapes = document->Shapes();
    for (int32_t i = 1; i <= shapes->Count(); ++i) {
      Refusable([&] {
        auto boxFields = shapes->Item(i)->TextFrame()->TextRange()->Fields();
        for (int32_t j = 1; j <= boxFields->Count(); ++j) boxFields->Item(j)->Update();
      });
    }
    std::dynamic_pointer_cast<docx::DocxDocument>(document)->SaveAs(letterPath, true);
    document->Close(0);
  });
  Refusable([&] { word->Quit(0); });
  CheckWholeLetter(letterPath);
}

constexpr std::array<Target, 8> kTargets = {{
    {"vcard", VCard},
    {"csv", Csv},
    {"charset", Charset},
    {"zip", Zip},
    {"package", PackageParts},
    {"story", StoryPart},
    {"fieldcode", FieldCode},
    {"letter", Letter},
}};

}  // namespace

std::span<const Target> Targets() { return kTargets; }

const Target* FindTarget(std::string_view name) {
  for (const Target& target : kTargets) {
    if (target.name == name) return &target;
  }
  return nullptr;
}

}  // namespace sendnote::fuzz
