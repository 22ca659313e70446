#pragma once
// The movie reader's findings for the movie an installer shows (slot 3), so
// that `inspect` tells an author whether it will play.
#include <optional>
#include <string>

class ByteSource;

struct SlotMovieReport {
  std::string text;  // the movie report's lines
  std::string json;  // the movie report's JSON object
};

// Empty when slot 3 holds no movie (a picture, an empty slot, no package);
// a movie that does not expand cleanly is reported by verify, not here.
std::optional<SlotMovieReport> reportSlotMovie(ByteSource& package);
