#!/usr/bin/env bash
# Writes the benchmark corpus into the folder given (default build/dcl-corpus):
#   x86       the first 8,000,000 bytes of three of Wine's 32-bit libraries
#   text      the common licence texts, three times over
#   photo.bmp a 1200x1200 photograph as an uncompressed BMP
#   x86.gz    the x86 file after gzip -9 (already compressed data)
set -euo pipefail
out=${1:-build/dcl-corpus}
mkdir -p "$out"
wine_dlls=/usr/lib/i386-linux-gnu/wine/i386-windows
[ -s "$out/x86" ] || head -c 8000000 < <(cat "$wine_dlls/mshtml.dll" "$wine_dlls/wined3d.dll" "$wine_dlls/shell32.dll") >"$out/x86"
[ -s "$out/text" ] || for i in 1 2 3; do cat /usr/share/common-licenses/*; done >"$out/text"
[ -s "$out/photo.bmp" ] || convert rose: -resize '1200x1200!' "BMP3:$out/photo.bmp"
[ -s "$out/x86.gz" ] || gzip -9 -n -c "$out/x86" >"$out/x86.gz"
ls -l "$out"
