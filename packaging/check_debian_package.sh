#!/usr/bin/env bash
# Checks the Debian package as a user meets it: its files where the package
# puts them, its declared dependencies and copyright file, and, unpacked
# (dpkg -x) into a throw-away folder, both programs printing their version
# when found on the PATH.
#   check_debian_package.sh PACKAGE.deb [--release SOURCE_DIR]
#   check_debian_package.sh --from-build BUILD_DIR
# --from-build packs the package from a build first (what ./run test does
# with the build its linux stage already has). --release adds what a
# release holds to: no file of the package names a path of SOURCE_DIR (its
# build folders among them), and a short simulated run of the unpacked
# tarvio-chart against the unpacked stand-in, with no --module: the program
# finds the module from its own place. The caller hides the build folders.
set -euo pipefail

scratch=$(mktemp -d -t tarvio-package-check-XXXXXX)
standin_pid=
cleanup() {
  if [ -n "$standin_pid" ]; then
    kill "$standin_pid" 2>/dev/null || true
    wait "$standin_pid" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() {
  echo "package check: $*" >&2
  exit 1
}

release_source=
if [ "${1:-}" = --from-build ]; then
  build=$(cd "$2" && pwd)
  (cd "$build" && cpack -G DEB -B "$scratch/packed" >"$scratch/cpack.log" 2>&1) ||
    { cat "$scratch/cpack.log" >&2; fail "cpack could not pack $2"; }
  package=$(echo "$scratch"/packed/*.deb)
  version=$(cat "$build/build_stamp/version.txt")
else
  package=$1
  version=$(dpkg-deb --field "$package" Version)
  [ "${2:-}" = --release ] && release_source=$(cd "$3" && pwd)
fi
[ -f "$package" ] || fail "no package at $package"

# The files where the package puts them.
dpkg-deb --contents "$package" | awk '{print $6}' >"$scratch/contents"
for path in ./usr/bin/tarvio-chart ./usr/bin/tarvio-standin ./usr/lib/tarvio/tarvio_v4_graphics_64.so \
  ./usr/share/doc/tarvio-levels/README.md ./usr/share/doc/tarvio-levels/copyright; do
  grep -qxF "$path" "$scratch/contents" || fail "$(basename "$package") holds no $path"
done

# The shared libraries the files link (by the start of their packages'
# names, which carry the library's version), the font and the certificates.
depends=$(dpkg-deb --field "$package" Depends)
for needed in libc6 libstdc++ libcurl libcairo2 libmicrohttpd libgnutls fonts-dejavu-core ca-certificates; do
  [[ ", $depends" == *", $needed"* ]] || fail "Depends does not name $needed: $depends"
done

root=$scratch/root
dpkg -x "$package" "$root"
copyright=$root/usr/share/doc/tarvio-levels/copyright
for said in "licence is not chosen yet" "RapidJSON, compiled into" "CLI11, compiled into"; do
  grep -qF "$said" "$copyright" || fail "the copyright file does not say '$said'"
done

# tarvio-chart and tarvio-standin on a PATH of the unpacked package alone.
for program in tarvio-chart tarvio-standin; do
  printed=$(cd "$scratch" && env -i PATH="$root/usr/bin" "$program" --version) ||
    fail "$program --version failed"
  [ "$printed" = "$program $version" ] || fail "$program --version printed '$printed', not '$program $version'"
done
echo "package check: $(basename "$package"): files, dependencies and copyright in place; both programs print $version"
[ -n "$release_source" ] || exit 0

if grep -rlF "$release_source" "$root" >"$scratch/named"; then
  fail "files of the package name a path of the source tree: $(tr '\n' ' ' <"$scratch/named")"
fi

# A short simulated morning: the unpacked stand-in, the unpacked chart
# program found on the PATH, its module found from its own place.
(cd "$scratch" && exec "$root/usr/bin/tarvio-standin" --port-file "$scratch/port" --write-cert "$scratch/standin.pem" \
  --max-seconds 120 >/dev/null 2>"$scratch/standin.log") &
standin_pid=$!
for _ in $(seq 100); do
  [ -s "$scratch/port" ] && break
  kill -0 "$standin_pid" 2>/dev/null || fail "the unpacked stand-in did not start: $(head -n 1 "$scratch/standin.log")"
  sleep 0.05
done
[ -s "$scratch/port" ] || fail "the unpacked stand-in did not start"
out=$scratch/run
mkdir -p "$out"
(cd "$out" && env -i PATH="$root/usr/bin:/usr/bin:/bin" HOME="$scratch" tarvio-chart \
  --start "2026-03-02 10:15" --end "2026-03-02 10:17" --service-address "127.0.0.1:$(cat "$scratch/port")" \
  --ca-file "$scratch/standin.pem" --api-key standin-key --quiet --no-progress \
  --png chart.png --csv outputs.csv --drawings drawings.json --log log.txt 2>stderr) ||
  fail "the unpacked tarvio-chart failed its run: $(head -n 3 "$out/stderr")"
grep -q '"label": "ZG: ' "$out/drawings.json" || fail "the unpacked tarvio-chart drew no zero-gamma level"
[ "$(wc -l <"$out/outputs.csv")" -gt 70 ] || fail "the unpacked tarvio-chart wrote too few output rows"
[ -s "$out/chart.png" ] || fail "the unpacked tarvio-chart drew no picture"
echo "package check: the unpacked tarvio-chart found its module, drew the levels against the unpacked stand-in"
