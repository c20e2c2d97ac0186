#!/usr/bin/env bash
# The Debian package as a user gets it: made from this build, unpacked into a scratch root, and its
# ordivan-cli run from another folder on the installed catalogue and sample (exit 77: skipped).
# Usage: installed_package.sh BUILD_DIR CPACK
set -euo pipefail
build=$1
cpack=$2
for tool in dpkg-deb dpkg-shlibdeps; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (Debian's dpkg-dev), so no Debian package can be made or opened"
    exit 77
  fi
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

# cpack packs what the build already made: the install rules copy files, nothing is compiled.
(cd "$build" && "$cpack" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
debs=("$work"/package/ordivan_*_*.deb)
[ -f "${debs[0]}" ] || fail "no ordivan_<version>_<arch>.deb in $(ls "$work/package")"
deb=${debs[0]}
depends=$(dpkg-deb -f "$deb" Depends)
# The libraries come from the binaries, not from a hand-made list.
[[ $depends == *libqt6gui6* && $depends == *libc6* ]] || fail "Depends lacks the computed libraries: $depends"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/ordivan usr/bin/ordivan-cli usr/share/ordivan/zolt_data/T_Hinban2013.csv \
         usr/share/ordivan/samples/room_sample.OLE usr/share/applications/ordivan.desktop \
         usr/share/mime/packages/ordivan.xml usr/share/icons/hicolor/48x48/apps/ordivan.png \
         usr/share/metainfo/org.ordivan.ordivan.metainfo.xml usr/share/man/man1/ordivan-cli.1; do
  [ -e "$root/$f" ] || fail "$f is not in the package"
done

cli="$root/usr/bin/ordivan-cli"
cd /
# No variable may point the programs at the build's catalogue.
unset ORDIVAN_DATA ORDIVAN_SOURCE_DIR ORDIVAN_BINARY_DIR
version=$("$cli" --version) || fail "--version"
[[ $version == *" $(dpkg-deb -f "$deb" Version)" ]] || fail "--version says '$version', the package $(dpkg-deb -f "$deb" Version)"
found=$("$cli" catalog search DL 2>"$work/err") || fail "catalog search DL: $(cat "$work/err")"
[[ $(head -n1 <<<"$found") == DL* ]] || fail "catalog search DL listed '$found'"
summary=$("$cli" calc "$root/usr/share/ordivan/samples/room_sample.OLE" --kind C --json - 2>"$work/err") ||
  fail "calc of the installed sample: $(cat "$work/err")"
[[ $summary == *'"maxLux":'* && $summary != *'"maxLux":0,'* ]] || fail "calc summary: $summary"
[ ! -s "$work/err" ] || fail "calc complained: $(cat "$work/err")"
echo "package $(basename "$deb") works from /"
