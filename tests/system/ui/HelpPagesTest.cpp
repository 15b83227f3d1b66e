// The help pages in help/: titled, linked correctly, listed in the help project, and the
// message page in step with the sentences the code shows the user.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Utf.h"

namespace sendnote {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = SENDNOTE_SOURCE_DIR;
const fs::path kHelp = kRoot / "help";

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::set<std::string> HelpPages() {
  std::set<std::string> pages;
  for (const auto& entry : fs::directory_iterator(kHelp)) {
    if (entry.path().extension() == ".html") pages.insert(entry.path().filename().string());
  }
  return pages;
}

// The page's text as a reader sees it: tags dropped, entities decoded, blanks collapsed.
std::string VisibleText(const std::string& html) {
  std::string text = std::regex_replace(html, std::regex("<[^>]*>"), "");
  for (const auto& [entity, plain] :
       {std::pair{"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&nbsp;", " "}, {"&amp;", "&"}}) {
    text = std::regex_replace(text, std::regex(entity), plain);
  }
  return std::regex_replace(text, std::regex("\\s+"), " ");
}

// Each line of the source's UTF-16 literals that reads as a Japanese sentence (it holds a
// full stop or question mark): the messages and notices the code shows the user. Adjacent
// literals are joined as the compiler joins them.
std::set<std::string> SentencesShownByTheCode() {
  std::set<std::string> sentences;
  const std::regex comment(R"(//[^\n]*|/\*[\s\S]*?\*/)");
  const std::regex adjacent(R"("\s*u")");
  const std::regex literal(R"re(u"((?:[^"\\]|\\.)*)")re");
  for (const char* dir : {"src/system", "src/portable"}) {
    EXPECT_TRUE(fs::is_directory(kRoot / dir)) << dir;
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / dir)) {
      if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") continue;
      std::string code = std::regex_replace(ReadFile(entry.path()), comment, "");
      code = std::regex_replace(code, adjacent, "");
      for (std::sregex_iterator it(code.begin(), code.end(), literal), end; it != end; ++it) {
        std::istringstream lines(std::regex_replace((*it)[1].str(), std::regex(R"(\\[rn])"), "\n"));
        for (std::string line; std::getline(lines, line);) {
          if (line.find("。") != std::string::npos || line.find("？") != std::string::npos) {
            sentences.insert(line);
          }
        }
      }
    }
  }
  return sentences;
}

TEST(HelpPagesTest, PagesAreTitledLinkedAndListedInTheHelpProject) {
  const auto pages = HelpPages();
  ASSERT_TRUE(pages.contains("index.html"));
  const std::regex title("<title>[^<]*\\S[^<]*</title>");
  const std::regex href(R"(href="([^"#]*)(?:#([^"]*))?")");
  for (const auto& page : pages) {
    SCOPED_TRACE(page);
    const std::string html = ReadFile(kHelp / page);
    EXPECT_TRUE(platform::IsValidUtf8(html));
    EXPECT_NE(html.find("<html lang=\"ja\">"), std::string::npos);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_TRUE(std::regex_search(html, title));
    for (std::sregex_iterator it(html.begin(), html.end(), href), end; it != end; ++it) {
      const std::string target = (*it)[1].str().empty() ? page : (*it)[1].str();
      ASSERT_TRUE(fs::exists(kHelp / target)) << (*it)[0];
      if ((*it)[2].matched) {
        EXPECT_NE(ReadFile(kHelp / target).find("id=\"" + (*it)[2].str() + "\""), std::string::npos)
            << (*it)[0];
      }
    }
  }

  const std::string project = ReadFile(kHelp / "sendnote.hhp");
  EXPECT_NE(project.find("Compiled file=sendnote.chm"), std::string::npos);
  EXPECT_NE(project.find("Default topic=index.html"), std::string::npos);
  std::set<std::string> listed;
  std::istringstream lines(project.substr(project.find("[FILES]") + 7));
  for (std::string line; std::getline(lines, line) && !line.starts_with("[");) {
    if (line.empty()) continue;
    EXPECT_TRUE(fs::exists(kHelp / line)) << line;
    if (line.ends_with(".html")) listed.insert(line);
  }
  EXPECT_EQ(listed, pages);
}

TEST(HelpPagesTest, MessagePageExplainsEverySentenceTheCodeShows) {
  const auto sentences = SentencesShownByTheCode();
  // The scan itself works: it finds the messages, also one written as several literals.
  EXPECT_GE(sentences.size(), 12u);
  EXPECT_TRUE(sentences.contains(" の連絡先アイテムに郵送先の住所がチェックされていません。"));
  EXPECT_TRUE(sentences.contains(
      "この連絡先アイテムは、添書票COMアドインのボタン登録・解除のために一時的に作成されたもので"
      "す。連絡先の内容はあくまでも架空の人物・会社です。不要の場合は速やかに削除してください。"));

  const std::string messages = VisibleText(ReadFile(kHelp / "messages.html"));
  // The add-in list's description and the version box's warning are no messages; the
  // index page reproduces them.
  const std::string index = VisibleText(ReadFile(kHelp / "index.html"));
  for (const auto& sentence : sentences) {
    EXPECT_TRUE(messages.find(sentence) != std::string::npos ||
                index.find(sentence) != std::string::npos)
        << "not in help/messages.html: \"" << sentence << "\"";
  }
}

}  // namespace
}  // namespace sendnote
