// sendnote [OPTIONS] CONTACTS TEMPLATE — writes a cover letter from a contact file and a
// Word template. See --help.
#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "docx/TemporaryFiles.h"
#include "portable/CommandLine.h"
#include "portable/PortableHost.h"

namespace {

// The folder of the running program; its help pages are found from there (HelpPages.h).
std::filesystem::path ProgramFolder(const char* argv0) {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  return exe.parent_path();
}

// The command itself; whatever it throws ends in main's one message.
int Run(int argc, char** argv) {
  using namespace sendnote::portable;
  std::ios::sync_with_stdio(true);
  // Ctrl-C or a termination request removes the letters not yet in place.
  sendnote::docx::TemporaryFiles::RemoveOnSignals();
  const std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto commandLine = ParseCommandLine(args, error);
  if (!commandLine) {
    std::cerr << "sendnote: " << error << "\nTry 'sendnote --help'.\n";
    return kExitUnusable;
  }
  const bool interactive = isatty(STDIN_FILENO) && isatty(STDERR_FILENO);
  winsize size{};
  const int columns =
      ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 ? size.ws_col : 80;
  PortableHost host(
      {std::cin, std::cout, std::cerr, interactive, isatty(STDOUT_FILENO) != 0, columns},
      ProgramFolder(argv[0]));
  return host.Run(*commandLine);
}

}  // namespace

int main(int argc, char** argv) {
  // The host reports what it meets itself; this is for what escapes it (out of memory
  // above all), which would otherwise end in std::terminate without a word.
  try {
    return Run(argc, argv);
  } catch (const std::bad_alloc&) {
    std::fputs("sendnote: out of memory\n", stderr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "sendnote: internal error: %s\n", e.what());
  } catch (...) {
    std::fputs("sendnote: internal error\n", stderr);
  }
  return 1;
}
