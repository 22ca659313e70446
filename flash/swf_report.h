#pragma once
// What the package builder shows about a movie: the reader's findings and its
// result code, as text or as one JSON object, so that an author sees before
// building whether the movie will play. Tool code (exceptions allowed).
#include <cstdio>
#include <string>

#include "flash/swf_reader.h"

// Reads a movie the way the movie panel does: the signature, then a plain
// movie directly or a compressed one through its expanded copy (made in a
// temporary folder that is removed again). The result is the panel's.
InstallError readMovieForReport(const std::string& path, SwfMovieInfo& movie);

// Lines "signature: FWS", "version: 6", "frame size: 550 x 400",
// "background: 255 128 0", "allowScale: 1", "fullScreen: -1",
// "result: 0 (Success)".
std::string movieReportText(const SwfMovieInfo& movie, InstallError result);
// {"result", "signature", "version", "width", "height",
//  "background": [red, green, blue], "allowScale", "fullScreen"}
std::string movieReportJson(const SwfMovieInfo& movie, InstallError result);

// The `saverpack movie FILE [--json]` command: prints the report to `out`.
// Returns 0 when a report was printed (whatever the movie's result), 1 when
// there is no such file.
int runMovieCommand(const std::string& path, bool json, std::FILE* out);
