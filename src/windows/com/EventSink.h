// The part every event sink of ours shares: an IDispatch that answers for one events
// dispinterface, finds its one event by name, and runs it under the runtime installed
// when the sink was made (an event is a host entry point of its own; the runtime
// outlives every binding). Nothing a handler throws crosses back into the host.
#pragma once

#include "windows/com/Win32.h"

#include "platform/Runtime.h"
#include "windows/com/ComObject.h"

namespace sendnote::com {

class EventSink : public Object<IDispatch> {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override;
  // Other events of the interface are ignored, as a sink must; the one event's arguments
  // go to Fire under the runtime.
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT*) final;

 protected:
  // With a reference for the caller, bound to the runtime installed now.
  EventSink(const IID& events, const wchar_t* eventName, DISPID eventId);
  ~EventSink() override = default;

  // Handles the event; a failure HRESULT for arguments of the wrong shape.
  virtual HRESULT Fire(DISPPARAMS& params) = 0;
  // The object argument `arg` holds by value or by reference, or null.
  static IDispatch* ObjectArgument(const VARIANT& arg);

 private:
  // The events interface, whose identity is the source's to choose.
  HRESULT QueryOther(REFIID iid, void** object) override;

  IID events_;
  const wchar_t* event_name_;
  DISPID event_id_;
  platform::Runtime* runtime_;
};

}  // namespace sendnote::com
