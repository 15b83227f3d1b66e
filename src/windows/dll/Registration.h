// Per-user registration of sendnote.dll: the class, its program identifier, the default
// interface, the type library and Outlook's add-in entry, all below HKEY_CURRENT_USER.
#pragma once

namespace sendnote::windows {

class Registration {
 public:
  // Writes one fresh set of entries (an earlier set is removed first). When a step fails,
  // everything written is removed again and the step's error is raised.
  static void Register();
  // Removes every entry Register writes; missing ones are fine. Tries all of them and
  // raises the first failure.
  static void Unregister();
};

}  // namespace sendnote::windows
