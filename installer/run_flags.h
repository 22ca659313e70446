#pragma once
// The two process-wide flags of an installation run. Both start false and
// the start-up resets them. `installing`: a run started by the install
// button is in progress. `cancelRequested`: the cancel button, or the run
// itself after an overwrite refusal, asks the run to stop between steps
// (and the entry extraction between entries).
struct RunFlags {
  bool installing = false;
  bool cancelRequested = false;
};

RunFlags& runFlags();
