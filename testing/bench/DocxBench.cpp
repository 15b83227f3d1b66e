// Measures the Word engine on the letter's work: a new document from a template, the
// contact's 23 properties, the refresh of the DOCPROPERTY fields and the save. Reports
// milliseconds per letter and the peak memory of each scenario (run in a child process
// of its own), and how the cost grows with the main part and with untouched parts.
//   docx_bench [--letters N] [--dir FOLDER]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "docx/DocxApplication.h"
#include "docx/DocxDocument.h"
#include "platform/Utf.h"
#include "system/common/modFunc.h"
#include "templatebuilder/TemplateBuilder.h"

namespace {

using namespace sendnote;
using Clock = std::chrono::steady_clock;

// The names the letter writes after the prefix: 21 of a contact with an address.
const std::vector<std::u16string> kNames = {
    u"宛先",         u"名",           u"姓",       u"会社名", u"事業所",         u"部署",
    u"肩書き",       u"役職",         u"携帯電話", u"敬称",   u"メールアドレス", u"住所",
    u"FAX番号",      u"電話番号",     u"番地",     u"市町村", u"都道府県",       u"郵便番号",
    u"郵便番号上位", u"郵便番号下位", u"私書箱"};

docx::TemplateField DocProperty(const std::u16string& name) {
  docx::TemplateField field;
  field.code = u" DOCPROPERTY \"OUTLOOK$" + name + u"\" \\* MERGEFORMAT ";
  field.result = u"«" + name + u"»";
  field.boldResult = true;
  field.codePieces = 3;
  return field;
}

// A letter template: `fields` DOCPROPERTY fields over paragraphs of text (a table holds
// some, two text boxes hold two each) and an image of about `imageBytes`.
docx::TemplateDescription LetterTemplate(int fields, size_t imageBytes) {
  docx::TemplateDescription d;
  if (imageBytes > 0) {
    const int32_t side = std::max(1, static_cast<int32_t>(std::sqrt(imageBytes / 3.0)));
    d.images.push_back({docx::NoisePng(side, side, 7), side, side});
    d.body.push_back(docx::TemplateParagraph{{docx::TemplatePicture{0, false}}});
  }
  docx::TemplateTable table;
  for (int i = 0; i < fields; ++i) {
    const std::u16string& name = kNames[static_cast<size_t>(i) % kNames.size()];
    docx::TemplateParagraph p{
        {docx::TemplateText{u"本文のテキスト " + name + u": "}, DocProperty(name)}};
    if (i % 10 == 5) {
      table.rows.push_back({{docx::TemplateParagraph{{docx::TemplateText{name}}}}, {p}});
    } else {
      d.body.push_back(p);
    }
  }
  d.body.push_back(table);
  for (int b = 0; b < 2; ++b) {
    docx::TemplateTextBox box;
    box.paragraphs.push_back({{DocProperty(u"宛先"), docx::TemplateText{u" 様"}}});
    box.paragraphs.push_back({{DocProperty(u"住所")}});
    d.body.push_back(docx::TemplateParagraph{{box}});
  }
  d.header.push_back({{docx::TemplateText{u"添書票"}}});
  return d;
}

struct Timing {
  double add = 0, properties = 0, refresh = 0, save = 0;  // wall clock
  double cpu = 0;                                         // processor time of the letter
  double Total() const { return add + properties + refresh + save; }
};

double Ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

double CpuMs() {
  timespec t{};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// One letter: new document, 23 properties, refresh, save, close.
Timing OneLetter(docx::DocxApplication& app, const std::u16string& templateName,
                 const std::filesystem::path& out) {
  Timing t;
  const double cpu0 = CpuMs();
  const auto t0 = Clock::now();
  auto doc = std::static_pointer_cast<docx::DocxDocument>(app.Documents()->Add(
      templateName, platform::kFalse, platform::kWdNewDocument, platform::kTrue));
  const auto t1 = Clock::now();
  auto props = doc->CustomDocumentProperties();
  DocPropSet(props, u"SENDNOTE$PROPERTY", platform::kPropertyBoolean, u"True");
  DocPropSet(props, u"SENDNOTE$PREFIX", platform::kPropertyString, u"OUTLOOK$");
  for (const auto& name : kNames) {
    DocPropSet(props, u"OUTLOOK$" + name, platform::kPropertyString, u"値 " + name);
  }
  const auto t2 = Clock::now();
  PropFieldUpdate(doc->Fields(), u"OUTLOOK$");
  auto shapes = doc->Shapes();
  for (int32_t i = 1; i <= shapes->Count(); ++i) {
    PropFieldUpdate(shapes->Item(i)->TextFrame()->TextRange()->Fields(), u"OUTLOOK$");
  }
  const auto t3 = Clock::now();
  doc->SaveAs(out, true);
  doc->Close(platform::kWdDoNotSaveChanges);
  const auto t4 = Clock::now();
  t.cpu = CpuMs() - cpu0;
  t.add = Ms(t0, t1);
  t.properties = Ms(t1, t2);
  t.refresh = Ms(t2, t3);
  t.save = Ms(t3, t4);
  return t;
}

struct Result {
  double median = 0, mean = 0, cpuMedian = 0;
  Timing medianParts;
  long peakKb = 0;
  size_t templateBytes = 0;
};

// Runs `letters` letters from the template at `templatePath` in a child process, so that
// its peak memory is its own; returns the median and mean per letter.
Result Measure(const std::filesystem::path& templatePath, int letters,
               const std::filesystem::path& dir) {
  int channel[2];
  if (::pipe(channel) != 0) std::exit(1);
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(channel[0]);
    Result r;
    r.templateBytes = std::filesystem::file_size(templatePath);
    auto app = docx::DocxApplication::Create();
    const std::u16string name = platform::FromUtf8(templatePath.string());
    OneLetter(*app, name, dir / "warm.docx");  // first touch of the caches
    std::vector<Timing> timings;
    for (int i = 0; i < letters; ++i) timings.push_back(OneLetter(*app, name, dir / "letter.docx"));
    std::vector<double> cpu;
    for (const Timing& t : timings) cpu.push_back(t.cpu);
    std::sort(cpu.begin(), cpu.end());
    r.cpuMedian = cpu[cpu.size() / 2];
    std::sort(timings.begin(), timings.end(),
              [](const Timing& a, const Timing& b) { return a.Total() < b.Total(); });
    r.medianParts = timings[timings.size() / 2];
    r.median = r.medianParts.Total();
    for (const Timing& t : timings) r.mean += t.Total() / static_cast<double>(timings.size());
    if (::write(channel[1], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) std::_Exit(1);
    std::_Exit(0);
  }
  ::close(channel[1]);
  Result r;
  const bool read = ::read(channel[0], &r, sizeof r) == static_cast<ssize_t>(sizeof r);
  ::close(channel[0]);
  int status = 0;
  struct rusage usage {};
  ::wait4(child, &status, 0, &usage);
  if (!read || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "the measuring process failed\n");
    std::exit(1);
  }
  r.peakKb = usage.ru_maxrss;
  return r;
}

// Writes the template in this process (the child only reads it), then measures.
Result Measure(const docx::TemplateDescription& description, int letters,
               const std::filesystem::path& dir) {
  const auto path = dir / "bench.dotx";
  docx::WriteTemplate(description, path);
  return Measure(path, letters, dir);
}

void Header() {
  std::printf("%-34s %10s %6s %8s %8s %8s  %-52s %9s\n", "scenario", "template", "fields", "wall",
              "mean", "cpu", "(wall of the median letter's steps)", "peak RSS");
}

void Print(const char* label, const Result& r, int fields) {
  std::printf(
      "%-34s %7.0f KB %6d %8.3f %8.3f %8.3f  (add %6.3f props %5.3f refresh %6.3f "
      "save %7.3f) %6ld KB\n",
      label, static_cast<double>(r.templateBytes) / 1024.0, fields, r.median, r.mean, r.cpuMedian,
      r.medianParts.add, r.medianParts.properties, r.medianParts.refresh, r.medianParts.save,
      r.peakKb);
}

}  // namespace

int main(int argc, char** argv) {
  int letters = 200;
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "docx_bench";
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--letters") letters = std::max(1, std::atoi(argv[i + 1]));
    if (option == "--dir") dir = argv[i + 1];
  }
  std::filesystem::create_directories(dir);
  std::printf(
      "Milliseconds per letter (median): a new document, 23 properties, the field\n"
      "refresh, the save (flushed to disk) and the close; \"cpu\" is processor time,\n"
      "the rest of \"wall\" waits for the disk. Peak RSS of the whole measuring process.\n\n");
  Header();
  const int kLetterFields = 25;
  Print("1 MB template with an image",
        Measure(LetterTemplate(kLetterFields, 1u << 20), letters, dir), kLetterFields + 4);
  Print("1,000 DOCPROPERTY fields", Measure(LetterTemplate(1000, 0), std::max(1, letters / 4), dir),
        1004);

  std::printf("\nGrowth with the main part (no image):\n");
  Header();
  for (int fields : {125, 250, 500, 1000, 2000, 4000}) {
    const Result r = Measure(LetterTemplate(fields, 0), std::max(1, letters / 8), dir);
    char label[64];
    std::snprintf(label, sizeof label, "%d fields (cpu %.4f ms/field)", fields,
                  r.cpuMedian / fields);
    Print(label, r, fields + 4);
  }
  std::printf("\nGrowth with untouched parts (%d fields):\n", kLetterFields);
  Header();
  for (size_t image : {0u, 1u << 18, 1u << 20, 4u << 20, 16u << 20}) {
    const Result r = Measure(LetterTemplate(kLetterFields, image), std::max(1, letters / 4), dir);
    char label[64];
    std::snprintf(label, sizeof label, "image of %.2f MB", static_cast<double>(image) / 1048576.0);
    Print(label, r, kLetterFields + 4);
  }
  std::filesystem::remove_all(dir);
  return 0;
}
