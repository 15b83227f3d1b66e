// The class object of an exposed automation class ("Word.Application"): each
// CreateInstance makes a new model object and hands out its simulator object.
#pragma once

#include "windows/com/Win32.h"

#include <functional>
#include <memory>

#include "platform/Object.h"
#include "windows/com/ComObject.h"
#include "windows/com/ComPtr.h"

namespace sendnote::hostsim {

// What the kit's class factory makes: a model object of `make`, exposed. Counts itself
// among the live objects.
class ExposedClass {
 public:
  using Make = std::function<std::shared_ptr<platform::Object>()>;

  explicit ExposedClass(Make make);
  ~ExposedClass();
  ExposedClass(const ExposedClass&) = delete;
  ExposedClass& operator=(const ExposedClass&) = delete;

  // Instances made so far.
  int Created() const { return created_; }

  com::ComPtr<IUnknown> Create();
  void Lock(bool) {}

 private:
  Make make_;
  int created_ = 0;
};

using ClassFactory = com::ClassFactory<ExposedClass>;

}  // namespace sendnote::hostsim
