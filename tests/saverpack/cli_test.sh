#!/usr/bin/env bash
# The saverpack command as a user runs it: help on every subcommand, exit
# codes, errors naming the file and line, the tool files found through the
# environment, JSON that parses, and no progress output when not on a
# terminal.
set -euo pipefail
tool=$1 examples=$2 work=$3
rm -rf "$work"; mkdir -p "$work"; cd "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }

for c in build inspect list verify extract repack "data build" "data list" "data extract" "data verify"; do
  # shellcheck disable=SC2086
  "$tool" $c --help >/dev/null || fail "$c --help"
done
if "$tool" >/dev/null 2>&1; then fail "no subcommand succeeded"; fi

python3 - <<'PY'
open('stub.exe', 'wb').write(b'MZ' + bytes(675326))
open('impborl.dll', 'wb').write(b'MZ' + bytes(range(256)) * 40)
PY
export SAVERPACK_STUB=$work/stub.exe SAVERPACK_COMPRESSOR=$work/impborl.dll

"$tool" build "$examples/picture/night-harbour.toml" -o night.exe >out.txt 2>err.txt || fail "build"
[ ! -s err.txt ] || fail "build wrote to stderr off a terminal: $(cat err.txt)"
grep -q "^night.exe: [0-9]* bytes, 10 slots used" out.txt || fail "build summary: $(cat out.txt)"
"$tool" verify night.exe >out.txt || fail "verify: $(cat out.txt)"
"$tool" inspect --json night.exe >night.json
if "$tool" inspect "$examples/README.md" >/dev/null; then fail "inspect of a file without a package succeeded"; fi
python3 -c "import json,sys; j=json.load(open('night.json')); sys.exit(j['header']['saverName'] != 'Night Harbour' or len(j['dataFile']['entries']) != 4)" \
  || fail "inspect --json"

# The movie an installer shows is read as the installer's movie panel reads it.
"$tool" build "$examples/movie/harbour-movie.toml" -o movie.exe >/dev/null || fail "build movie"
"$tool" inspect --json movie.exe >movie.json
python3 -c "import json,sys; m=json.load(open('movie.json'))['movie']; sys.exit(not (m['result'] == 0 and m['signature'] == 'FWS' and m['version'] == 6 and m['width'] == 400))" \
  || fail "inspect --json movie: $(cat movie.json)"
"$tool" inspect movie.exe | grep -q "^movie (slot 3):" || fail "inspect movie table"
python3 -c "import json,sys; sys.exit('movie' in json.load(open('night.json')))" || fail "a picture reported as a movie"

head -c 675350 night.exe >cut.exe
if "$tool" verify cut.exe >out.txt; then fail "verify of a cut file succeeded"; fi
grep -q "ends inside the package header.*-31" out.txt || fail "cut diagnosis: $(cat out.txt)"

sed 's/^display-panel = true/display-panel = 1/' "$examples/picture/night-harbour.toml" >bad.toml
if "$tool" build bad.toml -o bad.exe 2>err.txt; then fail "bad manifest built"; fi
grep -q "^bad.toml:5: display-panel: must be true or false" err.txt || fail "error does not name the line: $(cat err.txt)"
[ ! -e bad.exe ] || fail "a failed build left an installer"

"$tool" extract night.exe -C x --data >/dev/null || fail "extract"
cmp -s x/license.txt "$examples/picture/license.txt" || fail "extracted licence differs"
"$tool" data build "$examples/common/data" -o d.ssd --main night.swf >/dev/null || fail "data build"
"$tool" data verify d.ssd >/dev/null || fail "data verify"
"$tool" data list d.ssd | grep -q "sounds.chime.wav" || fail "data list"
"$tool" repack night.exe -o again.exe --compressor ours >/dev/null || fail "repack"
"$tool" verify again.exe >/dev/null || fail "verify of the repacked installer"
echo "cli ok"
