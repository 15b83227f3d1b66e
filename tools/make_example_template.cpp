// Writes one of the example templates, chosen by the output's file name: 添書票.dotx,
// 送付状.dotx, 長形3号.dotx or 宛名ラベル.dotx (see ExampleTemplates.h).
// Usage: make_example_template OUTPUT.dotx
#include <cstdio>
#include <filesystem>

#include "ExampleTemplates.h"
#include "platform/ComError.h"
#include "platform/Utf.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_example_template OUTPUT.dotx\n", stderr);
    return 2;
  }
  const std::filesystem::path output = argv[1];
  const auto description =
      sendnote::examples::ExampleTemplate(sendnote::platform::FromUtf8(output.stem().string()));
  if (!description) {
    std::fprintf(stderr, "make_example_template: no example template is named %s\n",
                 output.filename().string().c_str());
    return 2;
  }
  try {
    sendnote::docx::WriteTemplate(*description, output);
  } catch (const sendnote::platform::ComError& e) {
    std::fprintf(stderr, "make_example_template: %s\n",
                 sendnote::platform::ToUtf8(e.Description()).c_str());
    return 1;
  }
  return 0;
}
