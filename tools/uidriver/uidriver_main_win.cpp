// uidriver: the UI driver as a console program for shell scenarios.
//   uidriver wait CAPTION [TIMEOUT_MS]           waits for the window
//   uidriver text CAPTION [CONTROL]              the window's or control's text
//   uidriver visible CAPTION CONTROL             "1" or "0"
//   uidriver geometry CAPTION [CONTROL]          "left top width height"
//   uidriver client CAPTION                      "width height"
//   uidriver title CAPTION                       the application title
//   uidriver click CAPTION BUTTON                clicks a button
//   uidriver close CAPTION                       as the close box does
//   uidriver dialog [TIMEOUT_MS]                 title, text and buttons
//   uidriver answer BUTTON [TIMEOUT_MS]          answers the next dialog
// Exit code 0 on success, 1 when the window, control or dialog is missing,
// 2 for a wrong command line.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/uidriver/uidriver.h"

namespace {
int usage() {
  std::fputs("usage: uidriver wait|text|visible|geometry|client|title|click|close|dialog|answer ...\n", stderr);
  return 2;
}

int missing(const std::string& what) {
  std::fprintf(stderr, "uidriver: %s not found\n", what.c_str());
  return 1;
}

int timeoutArg(int argc, char** argv, int index) {
  return argc > index ? std::atoi(argv[index]) : uidriver::kDefaultTimeoutMs;
}

void printGeometry(const uidriver::Geometry& g) {
  std::printf("%d %d %d %d\n", g.left, g.top, g.width, g.height);
}

int printDialog(const std::optional<uidriver::DialogInfo>& dialog) {
  if (!dialog) return missing("dialog");
  std::printf("title: %s\ntext: %s\nbuttons:", dialog->title.c_str(), dialog->text.c_str());
  for (const std::string& b : dialog->buttons) std::printf(" [%s]", b.c_str());
  std::printf("\nicon: %s\n", dialog->hasIcon ? "yes" : "no");
  return 0;
}

int windowCommand(const std::string& command, int argc, char** argv) {
  const std::string caption = argv[2];
  const int timeout = command == "wait" ? timeoutArg(argc, argv, 3) : uidriver::kDefaultTimeoutMs;
  HWND window = uidriver::waitForWindow(caption, timeout);
  if (window == nullptr) return missing("window \"" + caption + "\"");
  if (command == "wait") return 0;
  if (command == "title") return std::printf("%s\n", uidriver::ownerText(window).c_str()), 0;
  if (command == "client") {
    const uidriver::Geometry g = uidriver::clientGeometry(window);
    return std::printf("%d %d\n", g.width, g.height), 0;
  }
  if (command == "close") return uidriver::closeWindow(window), 0;
  if (command == "click") {
    if (argc < 4) return usage();
    return uidriver::clickButton(window, argv[3]) ? 0 : missing(std::string("button ") + argv[3]);
  }
  HWND target = window;
  if (argc > 3) {
    target = uidriver::findControl(window, argv[3]);
    if (target == nullptr) return missing(std::string("control ") + argv[3]);
  }
  if (command == "text") return std::printf("%s\n", uidriver::text(target).c_str()), 0;
  if (command == "visible") return std::printf("%d\n", uidriver::isVisible(target) ? 1 : 0), 0;
  if (command == "geometry") {
    printGeometry(target == window ? uidriver::windowGeometry(window) : uidriver::controlGeometry(target));
    return 0;
  }
  return usage();
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage();
  const std::string command = argv[1];
  if (command == "dialog") return printDialog(uidriver::waitForDialog(timeoutArg(argc, argv, 2)));
  if (command == "answer") {
    if (argc < 3) return usage();
    return printDialog(uidriver::answerDialog(argv[2], timeoutArg(argc, argv, 3)));
  }
  if (argc < 3) return usage();
  return windowCommand(command, argc, argv);
}
