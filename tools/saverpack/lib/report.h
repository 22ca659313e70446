#pragma once
// What `inspect` and `data list` show: the header fields, the slot table
// (name, kind and target folder, offsets, stored and expanded sizes,
// compression, CRC) and the data file's directory when slot 8 holds one; as
// a human table or as one JSON object. Reads only; any input gives a report.
#include <string>

class ByteSource;

std::string inspectPackage(ByteSource& source, const std::string& file, bool json);
std::string inspectDataFile(ByteSource& source, const std::string& file, bool json);
