// The command context of one click, passed to every procedure of the letter command and
// into the output dialog.
#pragma once

#include <memory>
#include <string>

#include "platform/Flag.h"
#include "platform/Word.h"
#include "system/common/clsMsg.h"
#include "system/common/clsStatic.h"

namespace sendnote {

inline constexpr char16_t kDefaultPrefix[] = u"OUTLOOK$";

class clsOccation {
 public:
  clsOccation() = default;
  clsOccation(const clsOccation&) = delete;
  clsOccation& operator=(const clsOccation&) = delete;

  // The status record; created with the context, never replaced.
  const std::shared_ptr<clsMsg>& Msg() const { return msg_; }
  // The add-in object's persistent choices, lent for this click.
  const std::shared_ptr<clsStatic>& StaticData() const { return static_data_; }
  void SetStaticData(std::shared_ptr<clsStatic> value) { static_data_ = std::move(value); }
  platform::Flag NewTemplate() const { return new_template_; }
  void SetNewTemplate(platform::Flag value) { new_template_ = value; }
  const std::u16string& TemplateName() const { return template_name_; }
  void SetTemplateName(std::u16string value) { template_name_ = std::move(value); }
  platform::Flag WordStarted() const { return word_started_; }
  void SetWordStarted(platform::Flag value) { word_started_ = value; }
  const std::u16string& PropPrefix() const { return prop_prefix_; }
  void SetPropPrefix(std::u16string value) { prop_prefix_ = std::move(value); }
  platform::Flag DocPropNew() const { return doc_prop_new_; }
  void SetDocPropNew(platform::Flag value) { doc_prop_new_ = value; }
  // The new document of a click that completed; empty otherwise.
  const std::shared_ptr<platform::Document>& Letter() const { return letter_; }
  void SetLetter(std::shared_ptr<platform::Document> value) { letter_ = std::move(value); }

 private:
  std::shared_ptr<clsMsg> msg_ = std::make_shared<clsMsg>();
  std::shared_ptr<clsStatic> static_data_;
  platform::Flag new_template_ = platform::kFalse;
  std::u16string template_name_;
  platform::Flag word_started_ = platform::kFalse;
  std::u16string prop_prefix_ = kDefaultPrefix;
  platform::Flag doc_prop_new_ = platform::kFalse;
  std::shared_ptr<platform::Document> letter_;
};

}  // namespace sendnote
