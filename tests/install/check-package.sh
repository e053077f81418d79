#!/usr/bin/env bash
# Checks what make-package.sh laid out: every file where desktops and Debian
# look for it, the launcher leading to the program beside its help, the menu
# entry and AppStream metadata valid and naming each other, the package's
# dependencies, and lintian's verdict. Reports every fault, then fails.
# Usage: check-package.sh <out dir of make-package.sh> <application id>
set -uo pipefail
out=$1 app_id=$2

faults=0
fault() {
  echo "FAULT: $*" >&2
  faults=$((faults + 1))
}
for tool in dpkg-deb desktop-file-validate appstreamcli lintian; do
  command -v "$tool" >/dev/null || { echo "check-package: $tool is missing (scripts/install-deps.sh test installs it)" >&2; exit 1; }
done
deb=$(ls "$out"/deb/*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "check-package: no package in $out/deb; did make-package.sh run?" >&2; exit 1; }

# ---- The layout, under both prefixes ----

# <prefix> <directory of the launcher>
layouts=(
  "$out/root/usr games"  # Debian: commands of games in /usr/games
  "$out/prefix bin"      # cmake --install
)
# Kind and path below the prefix; "link" paths are the launcher's directory.
expected=(
  "exec lib/kestrune/kestrune"
  "file lib/kestrune/kestrune.hlp"
  "file share/applications/$app_id.desktop"
  "file share/metainfo/$app_id.metainfo.xml"
  "file share/icons/hicolor/32x32/apps/$app_id.png"
  "file share/icons/hicolor/64x64/apps/$app_id.png"
  "file share/icons/hicolor/128x128/apps/$app_id.png"
  "file share/icons/hicolor/256x256/apps/$app_id.png"
  "file share/man/man6/kestrune.6.gz"
  "file share/doc/kestrune/copyright"
  "file share/doc/kestrune/changelog.gz"
)
for layout in "${layouts[@]}"; do
  read -r prefix launcher_dir <<<"$layout"
  for entry in "${expected[@]}"; do
    read -r kind path <<<"$entry"
    file="$prefix/$path"
    case $kind in
      exec) [ -f "$file" ] && [ -x "$file" ] || fault "$file is not an executable file" ;;
      file) [ -f "$file" ] && [ -s "$file" ] || fault "$file is missing or empty" ;;
    esac
  done
  # A relative link, so it holds wherever the prefix is; the program finds its
  # help through the link's target, not the link.
  launcher="$prefix/$launcher_dir/kestrune"
  if [ ! -L "$launcher" ]; then
    fault "$launcher is not a symbolic link"
  else
    target=$(readlink "$launcher")
    [ "$target" = "../lib/kestrune/kestrune" ] || fault "$launcher points to $target, not ../lib/kestrune/kestrune"
    [ "$(readlink -f "$launcher")" = "$(readlink -f "$prefix/lib/kestrune/kestrune")" ] ||
      fault "$launcher does not lead to the program"
  fi
  [ ! -e "$prefix/lib/kestrune/kestrune.hlp" ] || [ "$(dirname "$(readlink -f "$launcher")")" = "$(readlink -f "$prefix/lib/kestrune")" ] ||
    fault "the help is not beside the program the launcher starts"
done

# Nothing but the layout above: a stray file in the package is a fault too.
listed=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./usr/||' | sort)
wanted=$( (for e in "${expected[@]}"; do echo "${e#* }"; done; echo games/kestrune) | sort)
[ "$listed" = "$wanted" ] || fault "the package's files differ from the expected layout:
$(diff <(echo "$wanted") <(echo "$listed") | grep '^[<>]')"

# ---- The package's control fields ----

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kestrune ] || fault "Package is '$(field Package)'"
[ "$(field Section)" = games ] || fault "Section is '$(field Section)', not games"
[ -n "$(field Maintainer)" ] || fault "no Maintainer"
[ -n "$(field Description)" ] || fault "no Description"
changelog_version=$(gzip -dc "$out/root/usr/share/doc/kestrune/changelog.gz" | sed -n '1s/^kestrune (\([^)]*\)).*/\1/p')
[ "$changelog_version" = "$(field Version)" ] ||
  fault "the changelog's latest entry is '$changelog_version', the package's version '$(field Version)'"

# What the program links and what it loads at run time: Qt's libraries, its
# X11 platform plugin and the Japanese font the window's texts use.
depends=$(field Depends)
names=$(echo "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/^ *//; s/ *$//' | grep -v '^$' | sort -u)
for needed in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins fonts-ipafont-gothic libc6 libstdc++6; do
  grep -qx "$needed" <<<"$names" || fault "Depends lacks $needed: $depends"
done
# The game was built and runs here, so every package it depends on must be
# one installed here: a misspelt name fails.
for name in $names; do
  dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q 'install ok installed' ||
    fault "Depends names $name, which is no installed package"
done

# ---- Menu entry and AppStream metadata, in the package's own tree ----

root="$out/root"
desktop="$root/usr/share/applications/$app_id.desktop"
metainfo="$root/usr/share/metainfo/$app_id.metainfo.xml"
desktop-file-validate "$desktop" || fault "desktop-file-validate rejects $desktop"
# --no-net: the screenshot's web address may not be reachable from here.
appstreamcli validate-tree --no-net "$root" || fault "appstreamcli rejects the package's metadata"

key() { sed -n "s/^$1=//p" "$desktop"; }
exec_command=$(key Exec | awk '{print $1}')
[ -L "$root/usr/games/$exec_command" ] || fault "Exec=$exec_command is not the launcher in /usr/games"
for size in 32 64 128 256; do
  [ -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/$(key Icon).png" ] || fault "Icon=$(key Icon) has no ${size}x${size} picture"
done
# Window lists match the running window to the entry by its X class, which Qt
# takes from the real program's file name.
[ "$(key StartupWMClass)" = "$(basename "$(readlink -f "$root/usr/games/kestrune")")" ] ||
  fault "StartupWMClass=$(key StartupWMClass) is not the program's name"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
  fault "the metadata does not launch $app_id.desktop"
grep -q "<binary>$exec_command</binary>" "$metainfo" || fault "the metadata does not provide the binary $exec_command"

# ---- lintian ----

# Errors and warnings fail. Information stays: the program lives in
# /usr/lib/kestrune beside its help rather than /usr/libexec, and it is built
# with the project's flags, not dpkg-buildflags' (no _FORTIFY_SOURCE).
lintian_output=$(lintian --fail-on error,warning "$deb" 2>&1)
lintian_status=$?
grep -v 'running with root privileges' <<<"$lintian_output"
[ "$lintian_status" -eq 0 ] || fault "lintian reports errors or warnings for $deb"

if [ "$faults" -ne 0 ]; then
  echo "check-package: $faults fault(s)" >&2
  exit 1
fi
echo "check-package: $deb and both layouts are as desktops and Debian expect"
