#include "hostsim/VariantEnum.h"

#include "hostsim/LiveObjects.h"

namespace sendnote::hostsim {

VariantEnum* VariantEnum::Create(std::vector<com::ScopedVariant> items) {
  return new VariantEnum(std::move(items));
}

VariantEnum::VariantEnum(std::vector<com::ScopedVariant> items) : items_(std::move(items)) {
  LiveObjects::Created();
}

VariantEnum::~VariantEnum() { LiveObjects::Destroyed(); }

HRESULT VariantEnum::Next(ULONG count, VARIANT* items, ULONG* fetched) {
  if (!items) return E_POINTER;
  ULONG n = 0;
  for (; n < count && next_ < items_.size(); ++n, ++next_) {
    ::VariantInit(&items[n]);
    ::VariantCopy(&items[n], const_cast<VARIANT*>(&items_[next_].Get()));
  }
  if (fetched) *fetched = n;
  return n == count ? S_OK : S_FALSE;
}

HRESULT VariantEnum::Skip(ULONG count) {
  next_ += count;
  if (next_ <= items_.size()) return S_OK;
  next_ = items_.size();
  return S_FALSE;
}

HRESULT VariantEnum::Reset() {
  next_ = 0;
  return S_OK;
}

HRESULT VariantEnum::Clone(IEnumVARIANT** copy) {
  if (!copy) return E_POINTER;
  *copy = nullptr;
  return com::Barrier([&] {
    VariantEnum* clone = Create(items_);
    clone->next_ = next_;
    *copy = clone;
    return S_OK;
  });
}

}  // namespace sendnote::hostsim
