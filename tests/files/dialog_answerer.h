#pragma once
// Answers the next message dialog of this program from a second thread, as
// a person would: it waits for the dialog, reads its title, text and button
// captions, and clicks the button with the given caption.
#include <string>
#include <thread>
#include <vector>

struct SeenDialog {
  std::string title;
  std::string text;
  std::vector<std::string> buttons;  // captions without their "&"
};

class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::string button);
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  // Waits for the answer (about ten seconds at most) and returns what was
  // seen; an empty title when no dialog came or it had no such button.
  SeenDialog seen();

 private:
  void answer();

  std::string button_;
  SeenDialog seen_;
  bool answered_ = false;
  std::thread thread_;
};
