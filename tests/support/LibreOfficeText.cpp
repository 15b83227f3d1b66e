#include "tests/support/LibreOfficeText.h"

#include <pugixml.hpp>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace sendnote::testing {
namespace {

std::string Quoted(const std::filesystem::path& path) {
  std::string out = "'";
  for (char c : path.string()) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

// Returns the command's standard output, or empty when it fails.
std::optional<std::string> Output(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  if (::pclose(pipe) != 0) return std::nullopt;
  return out;
}

// Appends the text of `node` to `text`; nested paragraphs (in text boxes) become
// paragraphs of their own.
void Collect(const pugi::xml_node& node, std::string& text, std::vector<std::string>& out);

void CollectParagraph(const pugi::xml_node& paragraph, std::vector<std::string>& out) {
  std::string text;
  const size_t at = out.size();
  out.emplace_back();
  for (const auto& child : paragraph.children()) Collect(child, text, out);
  out[at] = std::move(text);
}

void Collect(const pugi::xml_node& node, std::string& text, std::vector<std::string>& out) {
  if (node.type() == pugi::node_pcdata) {
    text += node.value();
    return;
  }
  if (node.type() != pugi::node_element) return;
  const char* name = node.name();
  if (std::strcmp(name, "text:p") == 0 || std::strcmp(name, "text:h") == 0) {
    CollectParagraph(node, out);
    return;
  }
  if (std::strcmp(name, "text:s") == 0) {
    text.append(node.attribute("text:c").as_uint(1), ' ');
    return;
  }
  if (std::strcmp(name, "text:tab") == 0 || std::strcmp(name, "text:line-break") == 0) {
    text += ' ';
    return;
  }
  for (const auto& child : node.children()) Collect(child, text, out);
}

}  // namespace

bool LibreOfficeInstalled() {
  return std::system("command -v soffice >/dev/null 2>&1 && command -v unzip >/dev/null 2>&1") == 0;
}

LibreOfficeResult<std::filesystem::path> LibreOfficeConvert(const std::filesystem::path& document,
                                                            const std::string& format) {
  const auto folder = document.parent_path();
  const auto profile = folder / ".libreoffice-profile";
  const auto log = folder / ".libreoffice.log";
  auto converted = document;
  converted.replace_extension("." + format);
  const std::string convert = "cd " + Quoted(folder) +
                              " && timeout 180 soffice -env:UserInstallation=file://" +
                              profile.string() + " --headless --convert-to " + format + " " +
                              Quoted(document.filename()) + " >" + Quoted(log) + " 2>&1";
  LibreOfficeResult<std::filesystem::path> result;
  for (int attempt = 1; attempt <= 2; ++attempt) {
    const int status = std::system(convert.c_str());
    const int exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (exit == 0 && std::filesystem::exists(converted)) {
      result.value = converted;
      return result;
    }
    std::ifstream in(log, std::ios::binary);
    std::ostringstream output;
    output << in.rdbuf();
    result.failure += "soffice --convert-to " + format + " " + document.filename().string() +
                      " (attempt " + std::to_string(attempt) + "): " +
                      (WIFEXITED(status) ? "exit status " + std::to_string(exit)
                                         : "ended by signal " + std::to_string(WTERMSIG(status))) +
                      (exit == 0 ? ", but wrote no " + converted.filename().string() : "") + "\n" +
                      output.str() + "\n";
  }
  return result;
}

LibreOfficeResult<std::vector<std::string>> LibreOfficeParagraphs(
    const std::filesystem::path& document) {
  LibreOfficeResult<std::vector<std::string>> result;
  const auto converted = LibreOfficeConvert(document, "odt");
  if (!converted.has_value()) {
    result.failure = converted.failure;
    return result;
  }
  const auto& odt = *converted;
  std::vector<std::string> paragraphs;
  // Headers and footers live in styles.xml, everything else in content.xml.
  for (const char* part : {"content.xml", "styles.xml"}) {
    const auto xml = Output("unzip -p " + Quoted(odt) + " " + part);
    pugi::xml_document parsed;
    if (!xml || !parsed.load_buffer(xml->data(), xml->size(),
                                    pugi::parse_default | pugi::parse_ws_pcdata)) {
      result.failure = odt.filename().string() + " has no readable " + part;
      return result;
    }
    std::string ignored;
    Collect(parsed.document_element(), ignored, paragraphs);
  }
  result.value = std::move(paragraphs);
  return result;
}

bool ShowsValue(const std::vector<std::string>& paragraphs, const std::string& value) {
  for (const auto& paragraph : paragraphs) {
    if (paragraph.find(value) != std::string::npos) return true;
  }
  return false;
}

}  // namespace sendnote::testing
