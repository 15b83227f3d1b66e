// The simulated Word in a process of its own, as WINWORD.EXE serves Word.Application: every
// call from the add-in to this Word crosses processes and is marshalled by COM.
#pragma once

namespace sendnote::windows::test {

// The argument that makes the simulator a Word server; "Word.Application"'s LocalServer32
// names it with the number of calls to refuse, if any, and COM adds -Embedding when it
// starts the server for CreateObject.
inline constexpr wchar_t kWordServerMode[] = L"word-server";

// Serves one Word that knows the letter template and confirms File New with it for each
// click, and that is busy for its first `rejectedCalls` automation calls. Started by COM
// (`embedding`), it registers its class object for a single
// creation, as Word does, so that each CreateObject starts a Word of its own; started
// otherwise, it is a Word the user opened. The Word goes into the running object table
// either way, where GetObject finds it. Returns when the Word has quit (0), or 1 when no
// Word was made or none quit within a few minutes.
int RunWordServer(bool embedding, int rejectedCalls);

}  // namespace sendnote::windows::test
