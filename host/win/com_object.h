#pragma once
// The base of every COM object a DLL hands out, its module count, and its class factory. Every
// live object and every server lock counts, so DllCanUnloadNow answers S_OK only when nothing of
// the DLL is referenced any more.

#include <windows.h>

#include <atomic>
#include <new>
#include <tuple>

#include "host/win/boundary.h"

namespace host::win {

class Module {
 public:
  static void Lock() noexcept { ++count_; }
  static void Unlock() noexcept { --count_; }
  static long Count() noexcept { return count_; }
  static HRESULT CanUnloadNow() noexcept { return count_ == 0 ? S_OK : S_FALSE; }
  static HINSTANCE Instance() noexcept { return instance_; }
  static void SetInstance(HINSTANCE instance) noexcept { instance_ = instance; }

 private:
  static inline std::atomic<long> count_{0};
  static inline HINSTANCE instance_ = nullptr;
};

// IUnknown for an object implementing `Interfaces`. The derived class answers which interface
// pointer serves an IID through InterfaceFor.
template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject() { Module::Lock(); }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;
  virtual ~ComObject() { Module::Unlock(); }

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    // One IUnknown pointer for the object's identity, whichever interface is asked through.
    *out = iid == IID_IUnknown ? FirstInterface() : InterfaceFor(iid);
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const long left = --refs_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

 protected:
  virtual void* InterfaceFor(REFIID iid) = 0;

 private:
  void* FirstInterface() {
    using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
    return static_cast<IUnknown*>(static_cast<First*>(this));
  }
  std::atomic<long> refs_{1};
};

// Creates `T` (default-constructible, starting with one reference) for CoCreateInstance.
template <typename T>
class ClassFactory : public ComObject<IClassFactory> {
 public:
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    return Boundary<ErrorInfo::None>([&]() -> HRESULT {
      if (!out) return E_POINTER;
      *out = nullptr;
      if (outer) return CLASS_E_NOAGGREGATION;
      T* object = new T();
      const HRESULT hr = object->QueryInterface(iid, out);
      object->Release();
      return hr;
    });
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    lock ? Module::Lock() : Module::Unlock();
    return S_OK;
  }

 protected:
  void* InterfaceFor(REFIID iid) override {
    return iid == IID_IClassFactory ? static_cast<IClassFactory*>(this) : nullptr;
  }
};

// DllGetClassObject for one class.
template <typename T>
HRESULT GetFactory(REFIID iid, void** out) {
  auto* factory = new (std::nothrow) ClassFactory<T>();
  if (!factory) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

}  // namespace host::win
