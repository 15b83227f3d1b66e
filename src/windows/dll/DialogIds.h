// Resource and control identifiers of the library's dialogs, shared by sendnote.rc and the
// C++ that drives them (plain macros, since the resource compiler reads this file too).
#pragma once

#define SENDNOTE_DLG_TEMPLATE 101
#define SENDNOTE_DLG_ABOUT 102
#define SENDNOTE_DLG_INPUT 103
#define SENDNOTE_DLG_DOCUMENTS 104

// The pictures. The application icon has the lowest number: Windows shows a library's
// first icon group as its own.
#define SENDNOTE_ICO_APP 201
#define SENDNOTE_ICO_WRITING 202
#define SENDNOTE_ICO_CLOSEDBOOK 203
#define SENDNOTE_ICO_OPENBOOK 204

// The output dialog. IDOK and IDCANCEL are its OK and キャンセル buttons.
#define SENDNOTE_IDC_FRAME 1001
#define SENDNOTE_IDC_OUTPUT0 1002
#define SENDNOTE_IDC_OUTPUT1 1003
#define SENDNOTE_IDC_OUTPUT2 1004
#define SENDNOTE_IDC_ICON0 1005
#define SENDNOTE_IDC_ICON1 1006
#define SENDNOTE_IDC_ICON2 1007
#define SENDNOTE_IDC_ADDRESS_LABEL 1008
#define SENDNOTE_IDC_ADDRESS 1009
#define SENDNOTE_IDC_HELP 1010
#define SENDNOTE_IDC_VERSION 1011

// The version box. Its one button is IDOK; Esc sends IDCANCEL, which closes it too.
#define SENDNOTE_IDC_ABOUT_FRAME 1101
#define SENDNOTE_IDC_DISCLAIMER 1102
#define SENDNOTE_IDC_TITLE 1103
#define SENDNOTE_IDC_VERSION_TEXT 1104
#define SENDNOTE_IDC_ABOUT_ICON 1105

// The input box.
#define SENDNOTE_IDC_PROMPT 1201
#define SENDNOTE_IDC_TEXT 1202

// The open-documents list. IDOK and IDCANCEL are its OK and キャンセル buttons.
#define SENDNOTE_IDC_DOCUMENTS_LABEL 1301
#define SENDNOTE_IDC_DOCUMENTS 1302
