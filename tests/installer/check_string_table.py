#!/usr/bin/env python3
"""Reads the string table out of a PE image with a resource reader of its
own and compares it, byte for byte, with the catalogue's source list.

usage: check_string_table.py IMAGE.exe catalogue.def
Exit code 0 when every catalogue id holds exactly its text and no other id
of the catalogue's range holds any text."""
import re
import struct
import sys

RT_STRING = 6
FIRST_ID, LAST_ID = 65248, 65311


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


class Image:
    """Format notes: the DOS header's e_lfanew (offset 0x3C) points at "PE\\0\\0";
    the COFF header follows (section count at +6, optional header size at
    +20), then the optional header, whose data directory entry 2 is the
    resource table (RVA, size), then the section table (40 bytes each:
    virtual size, RVA, raw size and raw offset at +8, +12, +16, +20)."""

    def __init__(self, data):
        self.data = data
        pe = u32(data, 0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        sections = u16(data, pe + 6)
        optional = pe + 24
        optional_size = u16(data, pe + 20)
        magic = u16(data, optional)
        directories = optional + (96 if magic == 0x10B else 112)
        self.resource_rva = u32(data, directories + 2 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            s = table + 40 * i
            vsize, rva, raw_size, raw = (u32(data, s + 8), u32(data, s + 12), u32(data, s + 16), u32(data, s + 20))
            self.sections.append((rva, max(vsize, raw_size), raw))

    def offset(self, rva):
        for start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("RVA %#x outside every section" % rva)

    def directory(self, at):
        """Format notes: a resource directory has 16 bytes of header (named
        entry count at +12, id entry count at +14), then 8-byte entries
        (name or id, then an offset whose top bit marks a subdirectory),
        all offsets relative to the resource section's start."""
        base = self.offset(self.resource_rva)
        named, ids = u16(self.data, base + at + 12), u16(self.data, base + at + 14)
        for i in range(named + ids):
            e = base + at + 16 + 8 * i
            name, target = u32(self.data, e), u32(self.data, e + 4)
            yield name, bool(target & 0x80000000), target & 0x7FFFFFFF

    def leaf(self, at):
        base = self.offset(self.resource_rva)
        rva, size = u32(self.data, base + at), u32(self.data, base + at + 4)
        start = self.offset(rva)
        return self.data[start:start + size]


def string_table(image):
    """Every string of the image's RT_STRING blocks: {id: bytes}. Format
    notes: block n holds ids (n - 1) * 16 to (n - 1) * 16 + 15, each as a
    16-bit length in UTF-16 units followed by that many units."""
    strings = {}
    for type_id, is_dir, at in image.directory(0):
        if type_id != RT_STRING or not is_dir:
            continue
        for block, block_is_dir, block_at in image.directory(at):
            for _lang, lang_is_dir, leaf_at in image.directory(block_at):
                if lang_is_dir or not block_is_dir:
                    raise ValueError("unexpected resource tree shape")
                data = image.leaf(leaf_at)
                pos = 0
                for k in range(16):
                    length = u16(data, pos)
                    pos += 2
                    text = data[pos:pos + 2 * length].decode("utf-16-le")
                    pos += 2 * length
                    if length:
                        strings[(block - 1) * 16 + k] = text.encode("cp1252")
    return strings


ESCAPES = {"r": b"\r", "n": b"\n", "t": b"\t", "\\": b"\\", '"': b'"', "'": b"'"}


def unescape(literal):
    out = bytearray()
    i = 0
    while i < len(literal):
        c = literal[i]
        if c != "\\":
            out += c.encode("latin-1")
            i += 1
            continue
        nxt = literal[i + 1]
        if nxt in ESCAPES:
            out += ESCAPES[nxt]
            i += 2
        elif nxt == "x":
            m = re.match(r"[0-9a-fA-F]+", literal[i + 2:])
            out.append(int(m.group(0), 16))
            i += 2 + len(m.group(0))
        else:
            m = re.match(r"[0-7]{1,3}", literal[i + 1:])
            out.append(int(m.group(0), 8))
            i += 1 + len(m.group(0))
    return bytes(out)


def catalogue(path):
    entries = {}
    pattern = re.compile(r'^CATALOGUE_TEXT\((\d+),\s*(\w+),\s*"((?:[^"\\]|\\.)*)"\)\s*$')
    with open(path, encoding="latin-1") as f:
        for line in f:
            m = pattern.match(line.strip())
            if m:
                entries[int(m.group(1))] = unescape(m.group(3))
    return entries


def main():
    image_path, catalogue_path = sys.argv[1], sys.argv[2]
    with open(image_path, "rb") as f:
        table = string_table(Image(f.read()))
    expected = catalogue(catalogue_path)
    if not expected:
        print("no catalogue entries read from", catalogue_path)
        return 1
    problems = []
    for ident in range(FIRST_ID, LAST_ID + 1):
        want = expected.get(ident, b"")
        got = table.get(ident, b"")
        if got != want:
            problems.append("%d: expected %r, found %r" % (ident, want, got))
    for ident in sorted(set(expected) - set(range(FIRST_ID, LAST_ID + 1))):
        problems.append("%d: catalogue id outside %d..%d" % (ident, FIRST_ID, LAST_ID))
    for p in problems:
        print(p)
    print("%d passed, %d failed" % (LAST_ID - FIRST_ID + 1 - len(problems), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
