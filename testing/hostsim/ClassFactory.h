// The class object of an exposed automation class ("Word.Application"): each
// CreateInstance makes a new model object and hands out its simulator object.
#pragma once

#include "windows/com/Win32.h"

#include <atomic>
#include <functional>
#include <memory>

#include "platform/Object.h"

namespace sendnote::hostsim {

class ClassFactory final : public IClassFactory {
 public:
  using Make = std::function<std::shared_ptr<platform::Object>()>;

  // Creates one with a reference for the caller.
  static ClassFactory* Create(Make make);
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  int Created() const { return created_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  explicit ClassFactory(Make make);
  ~ClassFactory();

  std::atomic<ULONG> references_{1};
  Make make_;
  int created_ = 0;
};

}  // namespace sendnote::hostsim
