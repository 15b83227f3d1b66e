// The system's modal forms as their views see them: the controls' state, which the view
// shows and the user changes, and the event procedures the view raises.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace sendnote::platform {

class ModalForm {
 public:
  virtual ~ModalForm() = default;

  // Raised once by the view before the form is first shown.
  virtual void Form_Load() = 0;
  // Raised on every close, whatever closes the form; it never vetoes.
  virtual void Form_QueryUnload() {}

  // Unloads the form (its own Unload, or the view's close box, Alt+F4, system menu):
  // raises Form_QueryUnload, then the form is gone and the modal show returns.
  void Unload() {
    if (unloaded_) return;
    Form_QueryUnload();
    unloaded_ = true;
  }
  bool Unloaded() const { return unloaded_; }

 protected:
  ModalForm() = default;

 private:
  bool unloaded_ = false;
};

// The output dialog's controls.
struct TemplateDialogControls {
  std::u16string caption;
  std::u16string frameCaption;
  std::array<std::u16string, 3> optOutputCaption;
  std::array<bool, 3> optOutput{};  // one group: at most one is selected
  std::u16string addressLabel;
  std::vector<std::u16string> cboAddress;  // a drop-down list; nothing can be typed
  int32_t cboAddressListIndex = -1;        // -1: no entry chosen
  std::u16string okCaption;
  std::u16string cancelCaption;
  std::u16string helpCaption;
  std::u16string versionCaption;

  // Selects output option `index` and clears the others, as clicking it does.
  void SelectOutput(int index) {
    for (int i = 0; i < 3; ++i) optOutput[i] = (i == index);
  }
  // The index of the selected output option, or -1.
  int SelectedOutput() const {
    for (int i = 0; i < 3; ++i)
      if (optOutput[i]) return i;
    return -1;
  }
};

class TemplateDialogForm : public ModalForm {
 public:
  TemplateDialogControls& Controls() { return controls_; }
  const TemplateDialogControls& Controls() const { return controls_; }

  virtual void OKButton_Click() = 0;      // also Enter
  virtual void CancelButton_Click() = 0;  // also Esc
  virtual void imgIcon_Click(int16_t index) = 0;
  virtual void cmdHelp_Click() = 0;     // also Alt+H
  virtual void cmdVersion_Click() = 0;  // also Alt+A

 protected:
  TemplateDialogControls controls_;
};

// The open-documents list's controls: the documents by name, one of them chosen.
struct DocumentListControls {
  std::u16string caption;
  std::u16string listLabel;
  std::vector<std::u16string> lstDocuments;
  int32_t lstDocumentsListIndex = -1;  // -1: no entry chosen
  std::u16string okCaption;
  std::u16string cancelCaption;
};

class DocumentListForm : public ModalForm {
 public:
  DocumentListControls& Controls() { return controls_; }
  const DocumentListControls& Controls() const { return controls_; }

  virtual void OKButton_Click() = 0;      // also Enter, and a double click on an entry
  virtual void CancelButton_Click() = 0;  // also Esc

 protected:
  DocumentListControls controls_;
};

// The version information box's controls.
struct AboutControls {
  std::u16string caption;
  std::u16string frameCaption;  // Frame1, the warning frame
  std::u16string disclaimer;    // lblDisclaimer
  std::u16string titleCaption;  // fraTitle
  std::u16string version;       // lblVersion
  std::u16string okCaption;
};

class AboutForm : public ModalForm {
 public:
  AboutControls& Controls() { return controls_; }
  const AboutControls& Controls() const { return controls_; }

  virtual void cmdOK_Click() = 0;  // also Enter and Esc

 protected:
  AboutControls controls_;
};

}  // namespace sendnote::platform
