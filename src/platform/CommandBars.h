// The Office command-bar operations the add-in relies on: finding its menu, adding,
// refreshing and deleting its button, and the button's Click event.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Flag.h"
#include "platform/Object.h"

namespace sendnote::platform {

class CommandBar;
class CommandBarControls;
class CommandBarButton;

// Any control of a command bar; popups and buttons are reached through As<>().
class CommandBarControl : public Object {
 public:
  virtual int32_t Id() = 0;
  virtual std::u16string Tag() = 0;
  virtual void Delete() = 0;
};

// The command bars of one window.
class CommandBars : public Object {
 public:
  // FindControl with only Id given: the first control with that Id, or empty.
  virtual std::shared_ptr<CommandBarControl> FindControl(int16_t id) = 0;
  // FindControl with only Tag given: a control bearing the tag on any bar, or empty.
  virtual std::shared_ptr<CommandBarControl> FindControl(std::u16string_view tag) = 0;
};

// One command bar; its FindControl by tag does not look into sub-menus.
class CommandBar : public Object {
 public:
  virtual std::shared_ptr<CommandBarControl> FindControl(std::u16string_view tag) = 0;
};

class CommandBarPopup : public CommandBarControl {
 public:
  virtual std::shared_ptr<platform::CommandBar> CommandBar() = 0;
  virtual std::shared_ptr<CommandBarControls> Controls() = 0;
};

class CommandBarControls : public Object {
 public:
  // Add(Type, Id, Parameter): appended at the end, permanent.
  virtual std::shared_ptr<CommandBarControl> Add(int32_t type, int16_t id,
                                                 std::u16string_view parameter) = 0;
};

// A live subscription to an event; ends when destroyed.
class EventConnection {
 public:
  EventConnection() = default;
  explicit EventConnection(std::function<void()> disconnect) : disconnect_(std::move(disconnect)) {}
  EventConnection(EventConnection&& other) noexcept : disconnect_(std::move(other.disconnect_)) {
    other.disconnect_ = nullptr;
  }
  EventConnection& operator=(EventConnection&& other) noexcept {
    if (this != &other) {
      Reset();
      disconnect_ = std::move(other.disconnect_);
      other.disconnect_ = nullptr;
    }
    return *this;
  }
  EventConnection(const EventConnection&) = delete;
  EventConnection& operator=(const EventConnection&) = delete;
  ~EventConnection() { Reset(); }

  bool Connected() const { return static_cast<bool>(disconnect_); }
  void Reset() {
    if (auto d = std::move(disconnect_)) {
      disconnect_ = nullptr;
      d();
    }
  }

 private:
  std::function<void()> disconnect_;
};

class CommandBarButton : public CommandBarControl {
 public:
  using ClickHandler =
      std::function<void(const std::shared_ptr<CommandBarButton>& ctrl, Flag& cancelDefault)>;

  virtual std::u16string OnAction() = 0;
  virtual void SetOnAction(std::u16string_view action) = 0;
  virtual std::u16string Caption() = 0;
  virtual void SetCaption(std::u16string_view caption) = 0;
  virtual void SetTag(std::u16string_view tag) = 0;
  // Binds the Click event: raised for a click on any button with this button's tag.
  virtual EventConnection ConnectClick(ClickHandler handler) = 0;
};

}  // namespace sendnote::platform
