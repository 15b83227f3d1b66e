// The COM object Outlook creates: dsrOutlookToWord with its default interface (the
// ribbon's callbacks), IDTExtensibility2 and IRibbonExtensibility on the one object, as
// Office requires, forwarding the events to the system's add-in object.
#pragma once

#include "windows/com/Win32.h"

#include <memory>

#include "system/addin/dsrOutlookToWord.h"
#include "windows/com/ComObject.h"
#include "windows/com/ComPtr.h"
#include "windows/dll/Extensibility.h"

namespace sendnote::windows {

// Every method ends behind the kit's barrier: nothing thrown reaches Office.
class AddInObject final
    : public com::Object<DsrOutlookToWordInterface, IDTExtensibility2, IRibbonExtensibility> {
 public:
  // With a reference for the caller.
  AddInObject();

  // IDispatch, described by _dsrOutlookToWord of the embedded type library: names through
  // the type information, the two callbacks invoked directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* badArg) override;

  // _dsrOutlookToWord: the ribbon button's click, and the application icon as a picture.
  HRESULT STDMETHODCALLTYPE Ribbon_OnAction(IDispatch* control) override;
  HRESULT STDMETHODCALLTYPE Ribbon_GetImage(IDispatch* control, IDispatch** image) override;

  // IRibbonExtensibility: the markup for one ribbon id; an empty string for the others.
  HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) override;

  // IDTExtensibility2: each returns S_OK; nothing the system throws reaches the host.
  HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application, ext_ConnectMode ConnectMode,
                                         IDispatch* AddInInst, SAFEARRAY** custom) override;
  HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode RemoveMode,
                                            SAFEARRAY** custom) override;
  HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override;
  HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override;
  HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override;

 private:
  ~AddInObject() override;
  HRESULT LoadTypeInfo();

  // Ends inside the destructor, with the runtime installed, like every other host call.
  std::unique_ptr<dsrOutlookToWord> addin_;
  com::ComPtr<ITypeInfo> type_info_;
};

}  // namespace sendnote::windows
