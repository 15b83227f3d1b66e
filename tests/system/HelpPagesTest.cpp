// The help pages in help/: present, titled, linked correctly, listed in the help project,
// and the message page in step with the sentences the code shows the user.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Utf.h"

namespace sendnote {
namespace {

namespace fs = std::filesystem;

const fs::path& RepoRoot() {
  static const fs::path root = fs::path(__FILE__).parent_path().parent_path().parent_path();
  return root;
}

fs::path HelpDir() { return RepoRoot() / "help"; }

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<std::string> HelpPages() {
  std::vector<std::string> pages;
  for (const auto& entry : fs::directory_iterator(HelpDir())) {
    if (entry.path().extension() == ".html") pages.push_back(entry.path().filename().string());
  }
  return pages;
}

// The page's visible text: tags dropped, the usual entities decoded, white space runs
// made one blank.
std::string VisibleText(const std::string& html) {
  std::string text = std::regex_replace(html, std::regex("<[^>]*>"), "");
  static const std::pair<const char*, const char*> kEntities[] = {{"&lt;", "<"},    {"&gt;", ">"},
                                                                  {"&quot;", "\""}, {"&#39;", "'"},
                                                                  {"&nbsp;", " "},  {"&amp;", "&"}};
  for (const auto& [entity, plain] : kEntities) {
    text = std::regex_replace(text, std::regex(entity), plain);
  }
  return std::regex_replace(text, std::regex("[ \t\r\n]+"), " ");
}

// The string literals of a C++ source, adjacent literals joined as the compiler joins
// them, escapes decoded; comments and character literals are skipped.
std::vector<std::string> StringLiterals(const std::string& src) {
  std::vector<std::string> literals;
  bool joinNext = false;  // only blanks and comments since the last literal
  size_t i = 0;
  auto readQuoted = [&](std::string& out) {
    ++i;  // opening quote
    while (i < src.size() && src[i] != '"') {
      if (src[i] == '\\' && i + 1 < src.size()) {
        const char e = src[++i];
        out += e == 'r' ? '\r' : e == 'n' ? '\n' : e == 't' ? '\t' : e;
      } else {
        out += src[i];
      }
      ++i;
    }
    ++i;  // closing quote
  };
  while (i < src.size()) {
    const char c = src[i];
    if (src.compare(i, 2, "//") == 0) {
      i = src.find('\n', i);
      if (i == std::string::npos) break;
      continue;
    }
    if (src.compare(i, 2, "/*") == 0) {
      i = src.find("*/", i + 2);
      if (i == std::string::npos) break;
      i += 2;
      continue;
    }
    if (c == '\'') {
      ++i;
      while (i < src.size() && src[i] != '\'') i += src[i] == '\\' ? 2 : 1;
      ++i;
      joinNext = false;
      continue;
    }
    if (c == '"') {
      std::string text;
      readQuoted(text);
      if (joinNext && !literals.empty()) {
        literals.back() += text;
      } else {
        literals.push_back(text);
      }
      joinNext = true;
      continue;
    }
    // An encoding prefix (u, u8, U, L) belongs to the literal that follows it.
    const bool prefix = (c == 'u' || c == 'U' || c == 'L' || c == '8') && i + 1 < src.size() &&
                        (src[i + 1] == '"' || src[i + 1] == '8');
    if (!prefix && c != ' ' && c != '\t' && c != '\r' && c != '\n') joinNext = false;
    ++i;
  }
  return literals;
}

// Every line of a literal that reads as a Japanese sentence (it holds a full stop or a
// question mark): what the code shows the user as a message or notice.
std::set<std::string> SentencesShownByTheCode() {
  std::set<std::string> sentences;
  for (const char* dir : {"addin", "common", "letter", "ui", "portable"}) {
    if (!fs::exists(RepoRoot() / dir)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(RepoRoot() / dir)) {
      const auto ext = entry.path().extension();
      if (ext != ".cpp" && ext != ".h") continue;
      for (const std::string& literal : StringLiterals(ReadFile(entry.path()))) {
        std::istringstream lines(std::regex_replace(literal, std::regex("\r"), "\n"));
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

TEST(HelpPagesTest, EveryPageIsUtf8JapaneseWithATitle) {
  const auto pages = HelpPages();
  ASSERT_GE(pages.size(), 4u);
  const std::regex title("<title>([^<]+)</title>");
  for (const auto& page : pages) {
    SCOPED_TRACE(page);
    const std::string html = ReadFile(HelpDir() / page);
    EXPECT_TRUE(platform::IsValidUtf8(html));
    EXPECT_NE(html.find("<html lang=\"ja\">"), std::string::npos);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    std::smatch match;
    ASSERT_TRUE(std::regex_search(html, match, title));
    EXPECT_NE(match[1].str().find_first_not_of(" \t\r\n"), std::string::npos) << "blank title";
    EXPECT_EQ(html.find("<title>", match.position(0) + 1), std::string::npos) << "two titles";
  }
}

TEST(HelpPagesTest, LinksBetweenPagesReachTheirTargets) {
  const std::regex href("href=\"([^\"#]*)(#([^\"]*))?\"");
  for (const auto& page : HelpPages()) {
    const std::string html = ReadFile(HelpDir() / page);
    for (std::sregex_iterator it(html.begin(), html.end(), href), end; it != end; ++it) {
      const std::string file = (*it)[1].str().empty() ? page : (*it)[1].str();
      SCOPED_TRACE(page + " -> " + (*it)[0].str());
      ASSERT_TRUE(fs::exists(HelpDir() / file));
      if ((*it)[3].matched) {
        const std::string target = ReadFile(HelpDir() / file);
        EXPECT_NE(target.find("id=\"" + (*it)[3].str() + "\""), std::string::npos);
      }
    }
  }
}

TEST(HelpPagesTest, HelpProjectListsExactlyThePagesAndOpensAtTheIndex) {
  const std::string project = ReadFile(HelpDir() / "sendnote.hhp");
  ASSERT_FALSE(project.empty());
  EXPECT_NE(project.find("Compiled file=sendnote.chm"), std::string::npos);
  EXPECT_NE(project.find("Default topic=index.html"), std::string::npos);

  std::set<std::string> listed;
  const auto files = project.find("[FILES]");
  ASSERT_NE(files, std::string::npos);
  std::istringstream lines(project.substr(files + 7));
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.front() == '[') break;
    EXPECT_TRUE(fs::exists(HelpDir() / line)) << line;
    listed.insert(line);
  }
  for (const auto& page : HelpPages()) EXPECT_TRUE(listed.contains(page)) << page;
}

TEST(HelpPagesTest, ScannerFindsTheMessagesOfTheCodeJoinedAndDecoded) {
  const auto sentences = SentencesShownByTheCode();
  EXPECT_GE(sentences.size(), 12u);
  EXPECT_TRUE(sentences.contains("ヘルプが見つかりません。"));
  EXPECT_TRUE(sentences.contains(" の連絡先アイテムに郵送先の住所がチェックされていません。"));
  // Written as several adjacent literals in the code.
  EXPECT_TRUE(sentences.contains(
      "この連絡先アイテムは、添書票COMアドインのボタン登録・解除のために一時的に作成されたもので"
      "す。連絡先の内容はあくまでも架空の人物・会社です。不要の場合は速やかに削除してください。"));
  for (const auto& sentence : sentences) {
    EXPECT_EQ(sentence.find('\r'), std::string::npos);
    EXPECT_EQ(sentence.find('"'), std::string::npos) << sentence;
  }
}

TEST(HelpPagesTest, MessagePageExplainsEverySentenceTheCodeShows) {
  const std::string messages = VisibleText(ReadFile(HelpDir() / "messages.html"));
  // The add-in list's description and the version box's warning are no messages; the
  // index page reproduces them.
  const std::string index = VisibleText(ReadFile(HelpDir() / "index.html"));
  for (const auto& sentence : SentencesShownByTheCode()) {
    const bool documented =
        messages.find(sentence) != std::string::npos || index.find(sentence) != std::string::npos;
    EXPECT_TRUE(documented) << "not in help/messages.html: \"" << sentence << "\"";
  }
}

}  // namespace
}  // namespace sendnote
