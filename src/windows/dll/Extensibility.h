// The interfaces of the add-in class, declared by hand: Office's IDTExtensibility2 and
// IRibbonExtensibility (we have neither MSADDNDR.TLB nor MSO.DLL; the methods in their
// vtable order) and our own default interface _dsrOutlookToWord, a dual interface whose
// members are the ribbon's callbacks, in the order of sendnote.idl.in.
#pragma once

#include "windows/com/Win32.h"

#include "windows/com/ComObject.h"
#include "windows/dll/Guids.h"

namespace sendnote::windows {

enum ext_ConnectMode : int { ext_cm_AfterStartup = 0, ext_cm_Startup = 1 };
enum ext_DisconnectMode : int { ext_dm_HostShutdown = 0, ext_dm_UserClosed = 1 };

struct IDTExtensibility2 : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* Application,
                                                 ext_ConnectMode ConnectMode, IDispatch* AddInInst,
                                                 SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode RemoveMode,
                                                    SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) = 0;
  virtual HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) = 0;
};

// Office's IRibbonExtensibility, {000C0396-0000-0000-C000-000000000046}: one method,
// called through the vtable ("IRibbonExtensibility object", Office VBA reference).
struct IRibbonExtensibility : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE GetCustomUI(BSTR RibbonID, BSTR* RibbonXml) = 0;
};

struct DsrOutlookToWordInterface : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE Ribbon_OnAction(IDispatch* control) = 0;
  virtual HRESULT STDMETHODCALLTYPE Ribbon_GetImage(IDispatch* control, IDispatch** image) = 0;
};

}  // namespace sendnote::windows

// Their identities for the COM object kit's QueryInterface.
template <>
struct sendnote::com::InterfaceId<sendnote::windows::IDTExtensibility2> {
  static const IID& Get() { return sendnote::windows::kIidExtensibility2; }
};
template <>
struct sendnote::com::InterfaceId<sendnote::windows::IRibbonExtensibility> {
  static const IID& Get() { return sendnote::windows::kIidRibbonExtensibility; }
};
template <>
struct sendnote::com::InterfaceId<sendnote::windows::DsrOutlookToWordInterface> {
  static const IID& Get() { return sendnote::windows::kIidDsrOutlookToWord; }
};
