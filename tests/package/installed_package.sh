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
         usr/share/icons/hicolor/scalable/apps/ordivan.svg \
         usr/share/metainfo/org.ordivan.ordivan.metainfo.xml usr/share/man/man1/ordivan-cli.1.gz \
         usr/share/man/man1/ordivan.1.gz usr/share/doc/ordivan/copyright usr/share/doc/ordivan/changelog.gz \
         usr/share/bash-completion/completions/ordivan-cli usr/share/lintian/overrides/ordivan; do
  [ -e "$root/$f" ] || fail "$f is not in the package"
done

# What Debian asks of a package: compressed documents made by gzip -9n (maximum compression, no name,
# no time stamp), no developer notes or placeholder files, a real maintainer, a home page, an extended
# description, and the font the pictures need.
while IFS= read -r -d '' gz; do
  header=$(od -An -tx1 -N10 "$gz" | tr -d ' \n')
  # ID 1f8b, method 08, flags 00 (no name), time 00000000, extra flags 02 (slowest, best compression).
  [[ $header == 1f8b08000000000002* ]] || fail "${gz#$root/} was not made by gzip -9n (header $header)"
done < <(find "$root/usr/share/man" "$root/usr/share/doc" -name '*.gz' -print0)
strays=$(find "$root" \( -name .gitkeep -o -name 'README*' -o -name '*.md' \) -printf '%P ')
[ -z "$strays" ] || fail "developer files in the package: $strays"
[ "$(zcat "$root/usr/share/doc/ordivan/changelog.gz" | head -n1 | sed 's/.*(\(.*\)).*/\1/')" = "$(dpkg-deb -f "$deb" Version)" ] ||
  fail "the change log's last entry is not version $(dpkg-deb -f "$deb" Version)"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
[[ $maintainer == *@* && $maintainer != *localhost* ]] || fail "Maintainer: $maintainer"
[ -n "$(dpkg-deb -f "$deb" Homepage)" ] || fail "no Homepage"
[ "$(dpkg-deb -f "$deb" Description | wc -l)" -ge 3 ] || fail "no extended description"
[[ $depends == *"fonts-ipafont-gothic | fonts-ipaexfont-gothic | fonts-noto-cjk"* ]] || fail "Depends lacks the fonts: $depends"
metainfo="$root/usr/share/metainfo/org.ordivan.ordivan.metainfo.xml"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" >"$work/appstream" 2>&1 || fail "appstreamcli: $(cat "$work/appstream")"
fi
if command -v appstream-util >/dev/null; then
  appstream-util validate --nonet "$metainfo" >"$work/appstream" 2>&1 || fail "appstream-util: $(cat "$work/appstream")"
fi
if command -v lintian >/dev/null; then
  # This build is the developer's; the hardening flags are the packager's build's (scripts/package),
  # which CI lints as well. Tags of either kind below a warning do not fail.
  lintian --pedantic -I --fail-on error,warning "$deb" >"$work/lintian" 2>&1 || fail "lintian: $(cat "$work/lintian")"
fi

cli="$root/usr/bin/ordivan-cli"
cd /
# Both programs answer in the users' own locale too.
lang=C.UTF-8
if locale -a 2>/dev/null | grep -qx ja_JP.utf8; then lang=ja_JP.UTF-8; fi
export LANG=$lang LC_ALL=$lang
[ "$(QT_QPA_PLATFORM=none "$root/usr/bin/ordivan" --version)" = "ordivan (ORDIVAN) $(dpkg-deb -f "$deb" Version)" ] ||
  fail "ordivan --version in $lang"
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
echo "package $(basename "$deb") works from / in $lang"
