// Base of every automation object the system reaches. Objects are reference-counted
// (std::shared_ptr) like the automation objects they model; an empty pointer is an
// empty reference.
#pragma once

#include <memory>
#include <string>

#include "platform/ComError.h"

namespace sendnote::platform {

class Object {
 public:
  virtual ~Object() = default;

  // The automation type name ("Explorer", "Inspector", "Document", ...).
  virtual std::u16string TypeName() const = 0;
  // Reads "Application" by name: the object's application while its server answers;
  // raises when the server or the object has gone away.
  virtual std::shared_ptr<Object> Application() = 0;

 protected:
  Object() = default;
};

// Returns the reference as the more specific interface T; an empty reference stays
// empty. Raises Type mismatch (13) for an object that does not support T.
template <class T>
std::shared_ptr<T> As(const std::shared_ptr<Object>& object) {
  if (!object) return nullptr;
  auto typed = std::dynamic_pointer_cast<T>(object);
  if (!typed) Raise(kErrTypeMismatch);
  return typed;
}

// Returns the object behind a reference; raises Object not set (91) for an empty one,
// as any call on an empty reference does.
template <class T>
T& Must(const std::shared_ptr<T>& object) {
  if (!object) Raise(kErrObjectNotSet);
  return *object;
}

// The type name of a possibly empty reference ("Nothing" for an empty one).
inline std::u16string TypeNameOf(const std::shared_ptr<Object>& object) {
  return object ? object->TypeName() : std::u16string(u"Nothing");
}

}  // namespace sendnote::platform
