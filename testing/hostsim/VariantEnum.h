// IEnumVARIANT over a snapshot of a collection's items, for _NewEnum (For Each).
#pragma once

#include "windows/com/Win32.h"

#include <vector>

#include "windows/com/ComObject.h"
#include "windows/com/ScopedVariant.h"

namespace sendnote::hostsim {

class VariantEnum final : public com::Object<IEnumVARIANT> {
 public:
  // Creates one with a reference for the caller.
  static VariantEnum* Create(std::vector<com::ScopedVariant> items);

  HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;

 private:
  explicit VariantEnum(std::vector<com::ScopedVariant> items);
  ~VariantEnum() override;

  std::vector<com::ScopedVariant> items_;
  size_t next_ = 0;
};

}  // namespace sendnote::hostsim
