#!/usr/bin/env bash
# Installs the build into a temporary prefix as a user would, checks what was installed and
# that the desktop accepts it, starts the installed launcher on a file in a real X server,
# and checks that uninstall leaves the prefix as it found it, but for files the user added.
#   install_test.sh BUILD_DIR EXAMPLE_FILE
set -euo pipefail
build=$1
example=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix="$work/prefix"
mkdir "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
app="$prefix/lib/zbxedit"
id=io.github.zbxedit.ZbxEdit
for f in bin/zbxedit lib/zbxedit/zbxedit lib/zbxedit/INC/ZBX.INI lib/zbxedit/INC/MPASMWIN.EXE \
         "lib/zbxedit/INC/EXTERNAL PROGRAMS/GLYPHCAST.EXE" share/applications/$id.desktop \
         share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
         share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
         share/icons/hicolor/256x256/apps/$id.png; do
    [ -e "$prefix/$f" ] || fail "install did not make $f"
done
[ -x "$prefix/bin/zbxedit" ] || fail "the launcher is not executable"
grep -qx "Exec=\"$prefix/bin/zbxedit\" %f" "$prefix/share/applications/$id.desktop" \
    || fail "the desktop entry does not start the installed launcher"
grep -q '^MimeType=.*text/x-zenbasic;' "$prefix/share/applications/$id.desktop" \
    || fail "the desktop entry does not open .bas files"
desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null \
    || { appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"; fail "metadata invalid"; }

cmake --build "$build" --target uninstall >/dev/null
left=$(cd "$prefix" && find . -mindepth 1 | sort)
[ -z "$left" ] || fail "uninstall left behind: $left"

# Installed again, the launcher opens a file named with a blank in its folder.
cmake --install "$build" --prefix "$prefix" >/dev/null
mkdir -p "$work/my programs" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cp "$example" "$work/my programs/THERMO.BAS"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM
timeout 120 xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    "$1/bin/zbxedit" "$2" &
    pid=$!
    found=$(timeout 60 xdotool search --sync --onlyvisible --name "my programs/THERMO\\.BAS" | head -n 1) || true
    kill $pid 2>/dev/null; wait $pid 2>/dev/null || true
    [ -n "$found" ]' _ "$prefix" "$work/my programs/THERMO.BAS" \
    || fail "the installed program did not show the file in its window"

# Files the user put into the application folder stay when the program is uninstalled.
echo "compiler" > "$app/KALTOR_PL.EXE"
cmake --build "$build" --target uninstall >/dev/null
[ -f "$app/KALTOR_PL.EXE" ] || fail "uninstall removed the user's compiler"
[ ! -e "$prefix/bin/zbxedit" ] || fail "uninstall kept the launcher"
[ ! -e "$prefix/share/applications/$id.desktop" ] || fail "uninstall kept the desktop entry"
echo "install, start and uninstall: all good"
