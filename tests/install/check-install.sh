#!/usr/bin/env bash
# Installs a build into a staging tree under /usr, as the Debian package lays it out,
# and checks what a desktop and a package manager read from it: the exact set of
# files, programs that run from there, and a desktop entry, metainfo, media type,
# icons and manual pages that agree with each other and with the programs. The
# validators of desktop-file-utils, appstream, libxml2-utils, shared-mime-info and
# groff run when they are installed; without them those checks are skipped.
#   check-install.sh CMAKE BUILD_DIR WINDOW_BUILT(0|1) APP_ID
set -uo pipefail
if [ $# -ne 4 ]; then
  echo "usage: check-install.sh CMAKE BUILD_DIR WINDOW_BUILT APP_ID" >&2
  exit 2
fi
cmake=$1
build=$2
window=$3
app_id=$4
examples="$(cd "$(dirname "$0")/../../examples" && pwd)"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
skip() { echo "skipped: $*"; }
have() { command -v "$1" >/dev/null 2>&1; }

if ! DESTDIR="$root" "$cmake" --install "$build" --prefix /usr >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"
  exit 1
fi
usr=$root/usr
share=$usr/share
desktop=$share/applications/$app_id.desktop
metainfo=$share/metainfo/$app_id.metainfo.xml
mime=$share/mime/packages/brekka.xml
icons=$share/icons/hicolor
man1=$share/man/man1

# Exactly these files: a missing one breaks the desktop, a stray one (a tool, a test
# library's install rule) would land in the package.
expected=(usr/bin/brekka-calc usr/share/man/man1/brekka-calc.1.gz)
if [ "$window" = 1 ]; then
  expected+=(usr/bin/brekka usr/share/man/man1/brekka.1.gz usr/lib/brekka/brekka-graph-image.so
    "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml"
    usr/share/mime/packages/brekka.xml usr/share/icons/hicolor/scalable/apps/brekka.svg
    usr/share/icons/hicolor/48x48/apps/brekka.png
    usr/share/icons/hicolor/128x128/apps/brekka.png
    usr/share/icons/hicolor/256x256/apps/brekka.png)
fi
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
(cd "$root" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$work/installed"
if ! diff -u "$work/expected" "$work/installed" >"$work/tree.diff"; then
  fail "installed files differ from the expected ones (- missing, + unexpected):"
  sed -n '3,$p' "$work/tree.diff"
fi

# The programs run from the installed tree, away from the build.
for program in brekka-calc $([ "$window" = 1 ] && echo brekka); do
  [ -x "$usr/bin/$program" ] || fail "$program is not executable"
  if have readelf && readelf -d "$usr/bin/$program" 2>/dev/null | grep -E 'R(UN)?PATH' |
    grep -qF "$build"; then
    fail "$program still looks for libraries in the build directory"
  fi
done
version=$("$usr/bin/brekka-calc" --version 2>&1)
[[ "$version" =~ ^brekka-calc\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "brekka-calc --version said: $version"
cp "$examples/yield-watertable.inp" "$work/field.inp"
if ! (cd "$work" && "$usr/bin/brekka-calc" field.inp >"$work/calc.log" 2>&1); then
  cat "$work/calc.log"
  fail "the installed brekka-calc did not calculate an example"
fi
[ -s "$work/field.out" ] && [ -s "$work/field.var" ] ||
  fail "the installed brekka-calc left no report and table"
if [ "$window" = 1 ]; then
  # The picture writer is found beside the installed program, not in the build.
  if ! (cd "$work" && "$usr/bin/brekka-calc" graph field.out field.bmp >"$work/graph.log" 2>&1) ||
    [ ! -s "$work/field.bmp" ]; then
    cat "$work/graph.log"
    fail "the installed brekka-calc did not draw a picture"
  fi
  usage=$(QT_QPA_PLATFORM=offscreen "$usr/bin/brekka" --help 2>&1)
  status=$?
  [ $status -eq 0 ] && [[ "$usage" == *"Usage: brekka [FILE.inp]"* ]] ||
    fail "the installed brekka --help exited $status: $usage"
fi

# Nothing at install time updates the machine's caches; packaging triggers do that.
if grep -rlE 'update-(mime|desktop)-database|gtk-update-icon-cache' \
  --include=cmake_install.cmake "$build" >"$work/caches"; then
  fail "the install script updates caches: $(tr '\n' ' ' <"$work/caches")"
fi

# Manual pages: the right names, every option the programs know, clean roff.
for page in brekka-calc $([ "$window" = 1 ] && echo brekka); do
  file=$man1/$page.1.gz
  [ -f "$file" ] || continue
  gzip -dc "$file" >"$work/$page.1" || fail "$page.1.gz does not decompress"
  name=${page^^}
  name=${name//-/\\-}
  [[ "$(head -1 "$work/$page.1")" == ".TH $name 1 "* ]] ||
    fail "$page.1 does not start with .TH $name 1"
  if have groff; then
    warnings=$(groff -man -ww -z "$work/$page.1" 2>&1)
    [ -z "$warnings" ] || fail "groff warns on $page.1: $warnings"
  else
    skip "groff is not installed: $page.1 not typeset"
  fi
done
# Each option the help texts name has its own paragraph (.TP, then the option).
described=$(grep -A1 '^\.TP' "$work/brekka-calc.1" | sed 's/\\-/-/g' |
  sed -nE 's/^\.B[IR]? +(--[a-z][a-z-]*).*/\1/p' | sort -u)
for help in "--help" "graph --help"; do
  # shellcheck disable=SC2086
  for option in $("$usr/bin/brekka-calc" $help 2>&1 | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    grep -qxF -- "$option" <<<"$described" ||
      fail "brekka-calc.1 does not describe $option (from brekka-calc $help)"
  done
done

if [ "$window" != 1 ]; then
  [ $failures -eq 0 ] && echo "install tree: all checks passed" && exit 0
  echo "install tree: $failures checks failed"
  exit 1
fi

# The desktop entry starts an installed program with the file, under an icon and a
# media type that are installed too.
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Type)" = Application ] || fail "the desktop entry is not an application"
exec_line=$(entry Exec)
[ "$exec_line" = "brekka %f" ] || fail "the desktop entry runs \"$exec_line\", not \"brekka %f\""
[ -x "$usr/bin/${exec_line%% *}" ] || fail "the desktop entry runs a program that is not installed"
[ "$(entry Icon)" = brekka ] || fail "the desktop entry's icon is \"$(entry Icon)\", not brekka"
[ "$(entry Terminal)" = false ] || fail "the desktop entry asks for a terminal"
for key in Name GenericName Comment Keywords Categories MimeType; do
  [ -n "$(entry "$key")" ] || fail "the desktop entry has no $key"
done
[[ ";$(entry Categories)" == *";Science;"* ]] || fail "the desktop entry is not under Science"
mime_type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime")
[ "$mime_type" = application/x-brekka-input ] || fail "the media type is \"$mime_type\""
[[ ";$(entry MimeType)" == *";$mime_type;"* ]] ||
  fail "the desktop entry does not open $mime_type"
if have desktop-file-validate; then
  # Hints (such as two main categories) are advice, not faults.
  if ! desktop-file-validate --no-hints "$desktop" >"$work/desktop.log" 2>&1 ||
    [ -s "$work/desktop.log" ]; then
    fail "desktop-file-validate: $(cat "$work/desktop.log")"
  fi
else
  skip "desktop-file-validate is not installed"
fi

# The metainfo names this desktop entry, the installed programs and the media type.
grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
launchable=$(sed -n 's/.*<launchable type="desktop-id">\([^<]*\)<.*/\1/p' "$metainfo")
[ "$launchable" = "$(basename "$desktop")" ] ||
  fail "the metainfo launches \"$launchable\", installed is $(basename "$desktop")"
binaries=$(sed -n 's/.*<binary>\([^<]*\)<.*/\1/p' "$metainfo")
[ "$(echo "$binaries" | sort | tr '\n' ' ')" = "brekka brekka-calc " ] ||
  fail "the metainfo provides the binaries \"$binaries\""
for binary in $binaries; do
  [ -x "$usr/bin/$binary" ] || fail "the metainfo provides $binary, which is not installed"
done
grep -q "<mediatype>$mime_type</mediatype>" "$metainfo" ||
  fail "the metainfo does not provide $mime_type"
grep -q '<content_rating type="oars-1.1"' "$metainfo" || fail "the metainfo has no content rating"
grep -q '<image>https://' "$metainfo" || fail "the metainfo has no screenshot"
if have appstreamcli; then
  appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$work/appstream.log")"
else
  skip "appstreamcli is not installed"
fi

# The media type: by name only, a kind of text.
grep -q '<glob pattern="\*\.inp"/>' "$mime" || fail "the media type has no *.inp glob"
grep -q '<sub-class-of type="text/plain"/>' "$mime" || fail "the media type is not text"
grep -q '<comment>' "$mime" || fail "the media type has no comment"
for xml in "$mime" "$metainfo" "$icons/scalable/apps/brekka.svg"; do
  if have xmllint; then
    xmllint --noout "$xml" >"$work/xml.log" 2>&1 || fail "xmllint: $(cat "$work/xml.log")"
  else
    skip "xmllint is not installed: $(basename "$xml") not parsed"
    break
  fi
done
if have update-mime-database; then
  # A database built from the package file alone must know the type and its glob.
  mkdir -p "$work/mime/packages"
  cp "$mime" "$work/mime/packages/"
  if update-mime-database "$work/mime" >"$work/mime.log" 2>&1; then
    [ -f "$work/mime/application/x-brekka-input.xml" ] ||
      fail "update-mime-database made no entry for $mime_type"
    grep -q "$mime_type:\*\.inp" "$work/mime/globs2" ||
      fail "update-mime-database did not register *.inp"
  else
    fail "update-mime-database: $(cat "$work/mime.log")"
  fi
else
  skip "update-mime-database is not installed"
fi

# Icons: a PNG of each size in its own folder, and the scalable drawing.
for size in 48 128 256; do
  png=$icons/${size}x${size}/apps/brekka.png
  [ -f "$png" ] || continue
  signature=$(od -An -tx1 -N8 "$png" | tr -d ' \n')
  [ "$signature" = 89504e470d0a1a0a ] || fail "${size}x${size}/apps/brekka.png is not a PNG"
  # IHDR: width and height, 4 bytes each, big-endian, from byte 16.
  dimensions=$(od -An -tu1 -j16 -N8 "$png" |
    awk '{ printf "%d %d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
  [ "$dimensions" = "$size $size" ] ||
    fail "${size}x${size}/apps/brekka.png is $dimensions pixels"
done
grep -q 'viewBox="0 0 64 64"' "$icons/scalable/apps/brekka.svg" ||
  fail "the scalable icon has no 64-unit view box"

if [ $failures -eq 0 ]; then
  echo "install tree: all checks passed"
  exit 0
fi
echo "install tree: $failures checks failed"
exit 1
