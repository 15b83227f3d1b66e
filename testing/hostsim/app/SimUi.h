// The simulator's user: a CBT hook on the add-in's thread that meets every box and dialog
// of sendnote.dll when it is activated, reads it through its window (caption, text, which
// buttons and which icon) and answers it from a script, as a user's clicks would arrive.
#pragma once

#include "windows/com/Win32.h"

#include <deque>
#include <string>
#include <vector>

namespace sendnote::windows::test {

// One message box as the user saw it; style rebuilt from its buttons and icon
// (16 stop, 48 exclamation, 64 information; + 3 for Yes/No/Cancel).
struct SeenBox {
  std::wstring title;
  std::wstring text;
  int style = -1;
};

// What the user does in the output dialog.
enum class DialogAnswer { kOk, kCancel, kCloseBox };

// The list of open documents as the user saw it, and what the user does in it: choose an
// entry (-1: leave the choice), then Enter or Esc, as keys pressed in the list.
struct SeenList {
  std::wstring title;
  std::wstring label;
  std::vector<std::wstring> entries;
  int selected = -1;
};
struct ListAnswer {
  int pick = -1;
  bool enter = true;  // false: Esc
};

class SimUi {
 public:
  SimUi();
  ~SimUi();
  SimUi(const SimUi&) = delete;
  SimUi& operator=(const SimUi&) = delete;

  // Answers for the next boxes (IDOK, IDYES, ...); with none queued the user presses the
  // box's first button.
  void QueueBoxAnswer(int answer) { boxAnswers_.push_back(answer); }
  // Answers for the next output dialogs; with none queued the user cancels.
  // With `output` (0 to 2), that output option is clicked first.
  void QueueDialog(DialogAnswer answer, int output = -1) {
    dialogAnswers_.push_back(answer);
    outputClicks_.push_back(output);
  }
  // Answers for the next lists of open documents; with none queued the user presses Esc.
  void QueueList(ListAnswer answer) { listAnswers_.push_back(answer); }
  const std::vector<SeenList>& Lists() const { return lists_; }

  const std::vector<SeenBox>& Boxes() const { return boxes_; }
  // The captions of the output dialogs shown, in order.
  const std::vector<std::wstring>& Dialogs() const { return dialogs_; }
  void Clear();

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
  void Meet(HWND window);

  HHOOK hook_ = nullptr;
  std::deque<int> boxAnswers_;
  std::deque<DialogAnswer> dialogAnswers_;
  std::deque<int> outputClicks_;  // by dialog answer; -1: no click
  std::deque<ListAnswer> listAnswers_;
  std::vector<SeenList> lists_;
  std::vector<SeenBox> boxes_;
  std::vector<std::wstring> dialogs_;
};

}  // namespace sendnote::windows::test
