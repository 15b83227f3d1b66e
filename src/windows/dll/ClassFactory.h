// The class factory of dsrOutlookToWord.
#pragma once

#include "windows/com/Win32.h"

#include <atomic>

namespace sendnote::windows {

class ClassFactory final : public IClassFactory {
 public:
  ClassFactory();
  ~ClassFactory();
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  std::atomic<ULONG> references_{1};
};

}  // namespace sendnote::windows
