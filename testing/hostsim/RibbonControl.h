// Office's IRibbonControl as the simulator hands it to a ribbon callback: the control's id
// and tag from the markup, and its Context, the window the control was clicked in.
#pragma once

#include <memory>
#include <string>

#include "platform/Object.h"

namespace sendnote::hostsim {

class RibbonControl : public platform::Object {
 public:
  RibbonControl(std::u16string id, std::u16string tag, std::shared_ptr<platform::Object> context)
      : id_(std::move(id)), tag_(std::move(tag)), context_(std::move(context)) {}

  std::u16string TypeName() const override { return u"IRibbonControl"; }
  std::shared_ptr<platform::Object> Application() override { return nullptr; }

  const std::u16string& Id() const { return id_; }
  const std::u16string& Tag() const { return tag_; }
  const std::shared_ptr<platform::Object>& Context() const { return context_; }

 private:
  std::u16string id_;
  std::u16string tag_;
  std::shared_ptr<platform::Object> context_;
};

}  // namespace sendnote::hostsim
