// The status record of one click: whether the click is to stop, the message to show the
// user when it does, and the error number of a failed document creation.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Flag.h"

namespace sendnote {

class clsMsg {
 public:
  int32_t ErrNumber() const { return err_number_; }
  void SetErrNumber(int32_t value) { err_number_ = value; }
  const std::u16string& MsgText() const { return msg_text_; }
  void SetMsgText(std::u16string value) { msg_text_ = std::move(value); }
  platform::Flag Cancel() const { return cancel_; }
  void SetCancel(platform::Flag value) { cancel_ = value; }

 private:
  int32_t err_number_ = 0;
  std::u16string msg_text_;
  platform::Flag cancel_ = platform::kFalse;
};

}  // namespace sendnote
