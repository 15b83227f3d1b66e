/* The identities of the add-in library, generated once and never changed: the registry
   entries, the type library and Outlook's add-in entry refer to them. The build reads the
   GUID strings from here for the IDL and the tests, so keep one define per line. */
#pragma once

#define SENDNOTE_LIBID_TEXT "{1DE433CE-2685-4C78-888F-278328A1FBD4}"
#define SENDNOTE_CLSID_TEXT "{0CB0263E-A53B-4B2C-87CC-2B163A15A687}"
#define SENDNOTE_IID_TEXT "{4CD77E9C-E7B5-4B0B-BC15-0AF07D26A260}"

/* Fixed by the platform: Office's add-in interface and the type-library marshaller. */
#define SENDNOTE_IID_EXTENSIBILITY_TEXT "{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}"
#define SENDNOTE_IID_RIBBON_EXTENSIBILITY_TEXT "{000C0396-0000-0000-C000-000000000046}"
#define SENDNOTE_PSOAINTERFACE_TEXT "{00020424-0000-0000-C000-000000000046}"

#define SENDNOTE_LIBRARY_NAME "COMAddInSendnote"
#define SENDNOTE_CLASS_NAME "dsrOutlookToWord"
#define SENDNOTE_PROGID SENDNOTE_LIBRARY_NAME "." SENDNOTE_CLASS_NAME
