// The two interfaces of the add-in class, declared by hand: Office's IDTExtensibility2
// (we have no MSADDNDR.TLB; the methods in its vtable order) and our own default
// interface _dsrOutlookToWord, a dual interface without members.
#pragma once

#include "windows/com/Win32.h"

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

struct DsrOutlookToWordInterface : public IDispatch {};

}  // namespace sendnote::windows
