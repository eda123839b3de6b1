#!/usr/bin/env bash
# Checks the Windows archive as a trader meets it: unpacked into a throw-away
# folder, its files and their checksums, the DLL's exports (its three entry
# points and nothing else, as the tests check the build's) and its version
# resource, and in a fresh Wine prefix, with no path into a build folder,
# the archive's tarvio-chart.exe printing its version and loading the DLL
# beside it. The caller hides the build folders.
#   check_windows_archive.sh ARCHIVE.zip VERSION
set -euo pipefail
cd "$(dirname "$0")/.."

archive=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
version=$2
WINE=$(command -v wine64 || echo /usr/lib/wine/wine64)
WINESERVER=$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver64)
OBJDUMP=x86_64-w64-mingw32-objdump
WINDRES=x86_64-w64-mingw32-windres

scratch=$(mktemp -d -t tarvio-archive-check-XXXXXX)
cleanup() {
  if [ -d "$scratch/prefix" ]; then WINEPREFIX=$scratch/prefix "$WINESERVER" -k 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "archive check: $*" >&2
  exit 1
}

mkdir "$scratch/unpacked"
(cd "$scratch/unpacked" && cmake -E tar xf "$archive") || fail "cannot unpack $archive"
folder=$scratch/unpacked/$(basename "$archive" .zip)
for file in tarvio_v4_graphics_64.dll tarvio-chart.exe INSTALL.txt SHA256SUMS.txt licences/mingw-w64-runtime.txt \
  licences/gcc-runtime.txt licences/GPL-3.txt licences/RapidJSON.txt licences/CLI11.txt; do
  [ -s "$folder/$file" ] || fail "$(basename "$archive") holds no $file in $(basename "$folder")/"
done
(cd "$folder" && sha256sum --check --strict --quiet SHA256SUMS.txt) || fail "the archive's SHA256SUMS.txt does not match"

dll=$folder/tarvio_v4_graphics_64.dll
cmake -DMODULE="$dll" -DOBJDUMP="$OBJDUMP" -P tests/check_module_exports.cmake >"$scratch/exports.log" 2>&1 ||
  { cat "$scratch/exports.log" >&2; fail "the archive's DLL exports more or less than its entry points"; }

# The version resource: the four numbers, and the version text with its commit.
"$WINDRES" -i "$dll" -O rc -o "$scratch/resource.rc" || fail "the archive's DLL has no version resource"
numbers="$(echo "${version%%+*}" | sed 's/\./, /g'), 0"
grep -qxF " FILEVERSION $numbers" "$scratch/resource.rc" || fail "the DLL's FILEVERSION is not $numbers"
grep -qxF " PRODUCTVERSION $numbers" "$scratch/resource.rc" || fail "the DLL's PRODUCTVERSION is not $numbers"
grep -qF "VALUE \"ProductVersion\", \"$version\"" "$scratch/resource.rc" ||
  fail "the DLL's product version text is not $version"

# A fresh prefix; WINEPATH unset, so only the archive's folder and Windows'
# own are searched for DLLs.
export WINEPREFIX=$scratch/prefix WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEPATH
timeout 300 "$WINE" wineboot -i >"$scratch/wineboot.log" 2>&1 ||
  { cat "$scratch/wineboot.log" >&2; fail "wineboot could not make the prefix"; }
timeout 300 "$WINESERVER" -w || fail "the new prefix did not settle"
printed=$(cd "$folder" && timeout 120 "$WINE" tarvio-chart.exe --version | tr -d '\r') ||
  fail "tarvio-chart.exe --version failed under Wine"
[ "$printed" = "tarvio-chart $version" ] || fail "tarvio-chart.exe --version printed '$printed'"
(cd "$folder" && timeout 120 "$WINE" tarvio-chart.exe --list-inputs >"$scratch/inputs.txt" 2>"$scratch/inputs.err") ||
  fail "tarvio-chart.exe could not load the DLL beside it: $(head -n 2 "$scratch/inputs.err")"
grep -q "API KEY" "$scratch/inputs.txt" || fail "tarvio-chart.exe --list-inputs listed no API KEY input"
echo "archive check: $(basename "$archive"): files and checksums in place, DLL exports its entry points only," \
  "version resource $numbers; tarvio-chart.exe prints $version under Wine and loads the DLL beside it"
