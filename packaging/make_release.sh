#!/usr/bin/env bash
# Makes a release into dist/: the Debian package of the Linux programs and
# module, the Windows archive of the DLL and tarvio-chart.exe, and
# SHA256SUMS. Both are built in release mode (presets release and
# release-windows) and checked before the release counts: the package and
# the archive unpacked with their build folders hidden (check_*.sh), and
# the checksums. A release that fails a check takes its own files out of
# dist/ again and puts back what they replaced; nothing else in dist/ is
# touched. Run from ./run release, which installs the packages first.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$(pwd)
dist=$source_dir/dist

fail() {
  echo "release: $*" >&2
  exit 1
}

echo "== release: Linux build (preset release)"
cmake --preset release >/dev/null
cmake --build --preset release
echo "== release: Windows build (preset release-windows)"
cmake --preset release-windows >/dev/null
cmake --build --preset release-windows
version=$(cat build/release/build_stamp/version.txt)
[ "$version" = "$(cat build/release-windows/build_stamp/version.txt)" ] ||
  fail "the two builds were stamped differently: the tree changed between them; run again"
case $version in
  *.dirty) echo "release: the tree has changes not yet committed, and the version says so: $version" ;;
  *+unknown) fail "not a git checkout: the release's version would name no commit" ;;
esac

staging=$(mktemp -d "$source_dir/build/release-staging-XXXXXX")
mkdir "$staging/packed" "$staging/replaced" "$staging/hidden"
written=()
released=0
hidden=()
# On any way out: build folders back in place, and unless the release
# passed every check, its files out of dist/ and the replaced ones back.
finish() {
  local name folder
  for folder in "${hidden[@]}"; do mv "$staging/hidden/$(basename "$folder")" "$folder" || true; done
  if [ "$released" -eq 0 ]; then
    for name in "${written[@]}"; do rm -f "$dist/$name"; done
    for name in "${written[@]}"; do
      if [ -e "$staging/replaced/$name" ]; then mv "$staging/replaced/$name" "$dist/$name"; fi
    done
    [ ${#written[@]} -eq 0 ] || echo "release: failed; its files are out of dist/ again" >&2
  fi
  rm -rf "$staging"
}
trap finish EXIT

echo "== release: packing"
(cd build/release && cpack -G DEB -B "$staging/packed" >"$staging/cpack-deb.log" 2>&1) ||
  { cat "$staging/cpack-deb.log" >&2; fail "cpack could not make the Debian package"; }
(cd build/release-windows && cpack -G ZIP -B "$staging/packed" >"$staging/cpack-zip.log" 2>&1) ||
  { cat "$staging/cpack-zip.log" >&2; fail "cpack could not make the Windows archive"; }
package=$(basename "$staging"/packed/*.deb)
archive=$(basename "$staging"/packed/*.zip)

# Into dist/; a file of the same name there (the same version released
# before) is set aside, to come back if this release fails.
mkdir -p "$dist"
publish() {
  local name=$1 from=$2
  written+=("$name")
  if [ -e "$dist/$name" ]; then mv "$dist/$name" "$staging/replaced/$name"; fi
  mv "$from" "$dist/$name"
}
publish "$package" "$staging/packed/$package"
publish "$archive" "$staging/packed/$archive"
# SHA256SUMS keeps the lines of other files still in dist/ and adds this
# release's.
(
  cd "$dist"
  if [ -f SHA256SUMS ]; then
    while read -r sum name; do
      if [ "$name" != "$package" ] && [ "$name" != "$archive" ] && [ -f "$name" ]; then echo "$sum  $name"; fi
    done <SHA256SUMS
  fi
  sha256sum "$package" "$archive"
) >"$staging/SHA256SUMS"
publish SHA256SUMS "$staging/SHA256SUMS"

echo "== release: checks, with the build folders hidden"
for folder in "$source_dir/build/release" "$source_dir/build/release-windows"; do
  mv "$folder" "$staging/hidden/$(basename "$folder")"
  hidden+=("$folder")
done
packaging/check_debian_package.sh "$dist/$package" --release "$source_dir"
packaging/check_windows_archive.sh "$dist/$archive" "$version"
(cd "$dist" && awk -v a="$package" -v b="$archive" '$2 == a || $2 == b' SHA256SUMS | sha256sum --check --strict) ||
  fail "the checksums in dist/SHA256SUMS do not match"

released=1
echo "== release $version in dist/:"
(cd "$dist" && ls -l "$package" "$archive" SHA256SUMS)
