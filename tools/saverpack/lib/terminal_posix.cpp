#include "tools/saverpack/lib/terminal.h"

#include <unistd.h>

bool stderrIsTerminal() { return isatty(2) != 0; }
