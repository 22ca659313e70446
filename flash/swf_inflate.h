#pragma once
// Expanding a compressed ("CWS") movie into a plain copy whose header can be
// read. The player is still given the compressed file itself.
//
// In the folder (ending with a separator) two files are written, replacing
// earlier ones: "compressedSWFSegment.swf", the source from byte 8 on (the
// zlib stream), and "unCompressedSWF.swf": "FWS", the source's bytes 3 to 7
// (version and file length), then the expanded stream. Both are copied in
// 2,048-byte blocks, so memory stays the same whatever the movie's size.
#include <string>

#include "flash/swf_source.h"
#include "installer/install_error.h"

// The movie panel's step: creates `inflateFolder` first when it is empty
// (makeTempFolder with the prefix "FlashPanel"; its error ends the step),
// reuses it otherwise, then as inflateSWFFileIntoFolder. Win32 only.
InstallError inflateSWFFileToTempFile(const std::string& swfFilename, std::string& inflateFolder);

// 0 (also for a missing source), err::MovieReadBeyondEnd for a source
// shorter than its 8-byte header, err::MovieIOError or err::DiskWriteError
// when a copy fails, err::MovieInflateError for data that is not a zlib
// stream, or the system's number when a file cannot be opened or created.
// A stream that is cut short is no error here: the copy ends where the data
// does, and reading it tells whether enough is there.
InstallError inflateSWFFileIntoFolder(const std::string& swfFilename, const std::string& folder);

// Expands one zlib stream from `compressed` into `plain` in 2,048-byte blocks,
// up to the end of the stream (anything after it is ignored) or of the input.
InstallError inflateSWFStream(SwfByteSource& compressed, SwfByteSink& plain);
