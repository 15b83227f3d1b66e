// The COM object kit: one reference count and one QueryInterface for every object of
// ours, answered from the interfaces the class lists at compile time; a class factory;
// and the barrier each method called across the ABI ends behind, which turns any C++
// exception into an HRESULT (for IDispatch::Invoke, also an EXCEPINFO), as no exception
// may unwind into a COM caller.
#pragma once

#include "windows/com/Win32.h"

#include <atomic>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "windows/com/ComPtr.h"

namespace sendnote::com {

// The identity an interface is asked for by; specialized for interfaces whose headers
// give them no __uuidof (Office's and our own).
template <class I>
struct InterfaceId {
  static const IID& Get() { return __uuidof(I); }
};

// The HRESULT for the exception in flight; only inside a catch block. A ComError gives
// its number (an automation runtime error n as FACILITY_CONTROL n), std::bad_alloc
// E_OUTOFMEMORY, anything else E_UNEXPECTED.
HRESULT HResultOfCurrentException() noexcept;

// As HResultOfCurrentException, and describes the failure in `info` (when given) as an
// automation server does: scode, `source`, and the description. Returns DISP_E_EXCEPTION,
// or E_UNEXPECTED for an exception that is not a C++ standard or platform one.
HRESULT ReportCurrentException(EXCEPINFO* info, std::u16string_view source) noexcept;

// Runs `body` (returning an HRESULT) for a caller across the ABI.
template <class Body>
HRESULT Barrier(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return HResultOfCurrentException();
  }
}

// The same, where the caller is told only `failure` whatever was thrown: the host's
// events, whose handlers report their own failures.
template <class Body>
HRESULT Barrier(HRESULT failure, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return failure;
  }
}

// The barrier of IDispatch::Invoke: `result` starts empty, a failure leaves it so and is
// described in `info` for the caller.
template <class Body>
HRESULT InvokeBarrier(EXCEPINFO* info, std::u16string_view source, VARIANT* result,
                      Body&& body) noexcept {
  if (result) ::VariantInit(result);
  try {
    return body();
  } catch (...) {
    if (result) ::VariantClear(result);
    return ReportCurrentException(info, source);
  }
}

namespace detail {

template <class Self, class First, class... Rest>
void* Find(Self* self, REFIID iid) {
  if (iid == InterfaceId<First>::Get()) return static_cast<First*>(self);
  if constexpr (sizeof...(Rest) > 0) {
    return Find<Self, Rest...>(self, iid);
  } else {
    return nullptr;
  }
}

// The first of the interfaces that is an IDispatch, or void.
template <class... Interfaces>
struct FirstDispatch {
  using Type = void;
};
template <class First, class... Rest>
struct FirstDispatch<First, Rest...> {
  using Type = std::conditional_t<std::is_base_of_v<IDispatch, First>, First,
                                  typename FirstDispatch<Rest...>::Type>;
};

}  // namespace detail

// An object implementing `Interfaces` (the first one is its IUnknown identity). Born with
// one reference for its maker; deleted by its last Release. QueryInterface answers
// IUnknown, each interface's identity, IDispatch through the first dispatch interface, and
// whatever QueryOther answers. AddRef, Release and QueryInterface cannot throw.
template <class... Interfaces>
class Object : public Interfaces... {
  using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
  using Dispatch = typename detail::FirstDispatch<Interfaces...>::Type;

 public:
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    void* found = nullptr;
    if (iid == IID_IUnknown) {
      found = static_cast<IUnknown*>(static_cast<First*>(this));
    } else {
      found = detail::Find<Object, Interfaces...>(this, iid);
    }
    if constexpr (!std::is_void_v<Dispatch>) {
      if (!found && iid == IID_IDispatch)
        found = static_cast<IDispatch*>(static_cast<Dispatch*>(this));
    }
    if (!found) return QueryOther(iid, object);
    *object = found;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // This object as its IUnknown identity.
  IUnknown* Identity() { return static_cast<IUnknown*>(static_cast<First*>(this)); }

 protected:
  Object() = default;
  virtual ~Object() = default;

  // Identities known at run time only, or interfaces of another object: on S_OK `object`
  // holds a new reference. Called with *object null.
  virtual HRESULT QueryOther(REFIID, void**) { return E_NOINTERFACE; }

 private:
  std::atomic<ULONG> references_{1};
};

// A class derived from an Object that implements `More` interfaces besides: they share
// the base's reference count and identity.
template <class Base, class... More>
class Extend : public Base, public More... {
 public:
  using Base::Base;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    void* found = detail::Find<Extend, More...>(this, iid);
    if (!found) return Base::QueryInterface(iid, object);
    *object = found;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return Base::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return Base::Release(); }

 protected:
  ~Extend() override = default;
};

// The class object of one class. `Maker` is built with the factory's arguments and lives
// as long as it does; it has Create() (a new object with the reference to hand out, or
// null: E_FAIL) and Lock(bool). Both run behind the barrier.
template <class Maker>
class ClassFactory final : public Object<IClassFactory> {
 public:
  // With a reference for the caller.
  template <class... Args>
  static ClassFactory* New(Args&&... args) {
    return new ClassFactory(std::forward<Args>(args)...);
  }

  Maker& Classes() { return maker_; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return Barrier([&] {
      ComPtr<IUnknown> made = maker_.Create();
      if (!made) return E_FAIL;
      return made->QueryInterface(iid, object);
    });
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    return Barrier([&] {
      maker_.Lock(lock != FALSE);
      return S_OK;
    });
  }

 private:
  template <class... Args>
  explicit ClassFactory(Args&&... args) : maker_(std::forward<Args>(args)...) {}
  ~ClassFactory() override = default;

  Maker maker_;
};

}  // namespace sendnote::com
