#!/usr/bin/env bash
# Builds the installer for Windows and starts it under Wine, on a private X
# server, in a Wine virtual desktop that draws Windows-style frames. Leaves a
# screenshot of the preparing window in build/screenshots/preparing.png and
# closes the installer again.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/bootstrap.sh
source scripts/session.sh
saver_session_start

# SAVER_BUILD_DIR picks another build folder of the win32 preset.
build=${SAVER_BUILD_DIR:-build/win32}
cmake --preset win32 -B "$build" >/dev/null
cmake --build "$build" --target saverinst uidriver

# Started under the name a download would have; the window's caption is
# that name.
name="Sample Saver Setup.exe"
mkdir -p build/sample
cp "$build/installer/saverinst.exe" "build/sample/$name"

export SAVER_DESKTOP=sample,800x600
run=tests/wine/wine-run
driver=$build/tools/uidriver/uidriver.exe
"$run" "build/sample/$name" &
installer=$!
# The first program makes the desktop; the driver joins it only once it is
# there (a second program started earlier would make a desktop of its own).
for _ in $(seq 300); do
  xwininfo -root -tree | grep -qF '"sample - Wine desktop"' && break
  sleep 0.1
done
if ! timeout 60 "$run" "$driver" wait "$name" 30000; then
  echo "run-sample: the installer's window did not appear" >&2
  kill "$installer" 2>/dev/null || true
  exit 1
fi
sleep 1  # let the window paint
tests/wine/screenshot build/screenshots/preparing.png sample
echo "Label1: $(timeout 60 "$run" "$driver" text "$name" Label1)"
timeout 60 "$run" "$driver" close "$name"
wait "$installer" || true
echo "screenshot: build/screenshots/preparing.png"
