#include "installer/run_flags.h"

RunFlags& runFlags() {
  static RunFlags flags;
  return flags;
}
