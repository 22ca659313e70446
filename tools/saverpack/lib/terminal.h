#pragma once
// Whether the tool's standard error is an interactive terminal (the
// progress bar is drawn only there).
bool stderrIsTerminal();
