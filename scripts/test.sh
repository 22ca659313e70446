#!/usr/bin/env bash
# Runs every test: the host build (with sanitizers) and the win32 build under
# Wine, on a private X server. Installs what it needs first.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
bash scripts/bootstrap.sh
source scripts/session.sh
saver_session_start

# win32 first: the host build of saverpack copies the stub and impborl.dll
# it carries from there.
cmake --preset win32 >/dev/null
cmake --build --preset win32
cmake --preset host >/dev/null
cmake --build --preset host

status=0
ctest --preset host || status=1
ctest --preset win32 || status=1
exit $status
