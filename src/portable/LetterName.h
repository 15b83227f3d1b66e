// Default file names of letters: the template's name, a blank and the contact's name,
// safe on Windows and Linux, unique within one run and within the 255-byte name limit.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

namespace sendnote::portable {

class LetterName {
 public:
  // The longest file name, in UTF-8 bytes, that Linux and Windows file systems take.
  static constexpr std::size_t kMaxBytes = 255;

  explicit LetterName(std::u16string_view templateStem) : templateStem_(templateStem) {}

  // A name (UTF-8, with ".docx") for a letter to `contactName` not handed out before by
  // this object: the second of a name is "name (2).docx", the third "name (3).docx".
  std::string Next(std::u16string_view contactName);

  // `text` with every character that a file name may not hold replaced by "_".
  static std::u16string Safe(std::u16string text);

  // The longest prefix of `utf8` of at most `bytes` bytes that ends on a character.
  static std::string Cut(std::string utf8, std::size_t bytes);

 private:
  std::u16string templateStem_;
  std::set<std::string> taken_;
  std::map<std::string, int> nextNumber_;
};

}  // namespace sendnote::portable
