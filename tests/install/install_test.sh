#!/usr/bin/env bash
# The program as users and host programs get it:
#   - cmake --install into a scratch prefix: every file in its place, the
#     desktop entry and the AppStream data pass their validators, the
#     document type registers, and the installed program, started from /,
#     renders an installed sample and shows its info text;
#   - cpack -G DEB: the package lists its files and declares its
#     dependencies; unpacked into a scratch root, its program renders an
#     unpacked sample from another folder;
#   - examples/host builds against the installed CMake package and runs
#     headless.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$(realpath "$1")"
source="$(realpath "$2")"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"
id=org.phasediagrams.PhaseDiagrams
fail() { echo "FAIL: $*" >&2; exit 1; }
step() { echo "== $*"; }

# A picture of PICTURE's expected size, 800 x 600.
check_picture() {
  [ -s "$1" ] || fail "no picture $1"
  file "$1" | grep -q "PNG image data, 800 x 600" || fail "$1 is not an 800 x 600 PNG: $(file "$1")"
}
# The installed program from the root folder: a sample rendered and the
# info text shown (its window made offscreen).
check_program() {
  local root="$1" out="$2"
  (cd / && "$root/bin/phasediagrams" --no-settings --render "$root/share/phasediagrams/samples/bi-pb-sn.pdiag" \
     "$out") || fail "$root/bin/phasediagrams --render failed"
  check_picture "$out"
  (cd / && "$root/bin/phasediagrams" --info) > "$scratch/info.txt" || fail "--info failed from /"
  grep -q "This program shows the phase diagram of a binary chemical system" "$scratch/info.txt" ||
    fail "the info text is missing: $(head -c 300 "$scratch/info.txt")"
}

step "cmake --install"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"
expected=(bin/phasediagrams share/phasediagrams/phasediagrams.inf
          share/phasediagrams/samples/al2o3-sio2.pdiag share/phasediagrams/samples/bi-pb-sn.pdiag
          share/phasediagrams/samples/pdiag.schema.json
          share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml
          share/icons/hicolor/scalable/apps/$id.svg share/man/man1/phasediagrams.1
          share/doc/phasediagrams/help/index.html share/doc/phasediagrams/help/documents.html
          include/phasediagrams/diagram/ternagram.h include/phasediagrams/diagram/binagram.h
          include/phasediagrams/platform/control.h)
for size in 16 24 32 48 64 128 256; do expected+=(share/icons/hicolor/${size}x${size}/apps/$id.png); done
for f in "${expected[@]}"; do [ -e "$prefix/$f" ] || fail "not installed: $f"; done
for size in 16 48 256; do
  file "$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "$size x $size" ||
    fail "the ${size}x${size} icon has another size"
done
config="$(find "$prefix" -name PhaseDiagramsConfig.cmake)"
[ -n "$config" ] && [ -e "$(dirname "$config")/PhaseDiagramsConfigVersion.cmake" ] || fail "no CMake package"
grep -q '"\$schema": "pdiag.schema.json"' "$prefix/share/phasediagrams/samples/bi-pb-sn.pdiag" ||
  fail "the sample does not name its schema"

step "validators"
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
update-mime-database "$prefix/share/mime"
grep -q "application/x-phasediagrams-diagram:\*\.pdiag" "$prefix/share/mime/globs2" || fail "*.pdiag is not registered"
grep -q "MimeType=application/x-phasediagrams-diagram;" "$prefix/share/applications/$id.desktop" ||
  fail "the desktop entry does not open documents"

step "installed program, started from /"
check_program "$prefix" "$scratch/installed.png"

step "cpack -G DEB"
(cd "$scratch" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/deb" >"$scratch/cpack.log") ||
  { cat "$scratch/cpack.log"; fail "cpack failed"; }
deb="$(ls "$scratch"/deb/*.deb)"
dpkg-deb -c "$deb" >"$scratch/contents.txt"
for f in usr/bin/phasediagrams usr/share/phasediagrams/phasediagrams.inf usr/share/phasediagrams/samples/bi-pb-sn.pdiag \
         usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml usr/share/mime/packages/$id.xml \
         usr/share/man/man1/phasediagrams.1 usr/include/phasediagrams/diagram/ternagram.h; do
  grep -q "\./$f\$" "$scratch/contents.txt" || fail "the package lacks /$f"
done
depends="$(dpkg-deb -f "$deb" Depends)"
for d in libqt6widgets6 libqt6printsupport6 libqt6svg6 libc6 fonts-liberation2; do
  [[ "$depends" == *"$d"* ]] || fail "the package does not depend on $d: $depends"
done
echo "Depends: $depends"
dpkg -x "$deb" "$scratch/root"
check_program "$scratch/root/usr" "$scratch/unpacked.png"

step "examples/host against the installed package"
cmake -S "$source/examples/host" -B "$scratch/host" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_PREFIX_PATH="$prefix" >"$scratch/host-configure.log" ||
  { cat "$scratch/host-configure.log"; fail "the host does not configure"; }
cmake --build "$scratch/host" >"$scratch/host-build.log" || { cat "$scratch/host-build.log"; fail "the host does not build"; }
QT_QPA_PLATFORM=offscreen "$scratch/host/ternary_host" --check || fail "the host's read-out does not follow the mouse"
echo "all checked"
