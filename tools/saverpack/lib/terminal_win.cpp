#include "tools/saverpack/lib/terminal.h"

#include <io.h>

bool stderrIsTerminal() { return _isatty(2) != 0; }
