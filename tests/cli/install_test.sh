#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
# What a newcomer and a packager meet: the install into a prefix (stripped binary, desktop
# entry, icon, AppStream data with the licence, copyright file), and the demo run of
# scripts/run.sh, which must leave the user's own settings file alone.
#   install_test.sh BUILD_DIR SOURCE_DIR
set -u
build=$1; source=$2
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
passed=0; failed=0
check() { # name, condition
  if eval "$2"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" --strip >/dev/null
bin="$prefix/bin/ozvenka"
check "the program is installed" "[ -x '$bin' ]"
check "and stripped" "! readelf -S '$bin' | grep -q -e '\.symtab' -e '\.debug_info'"
desktop="$prefix/share/applications/cz.ozvenka.Ozvenka.desktop"
check "the desktop entry" "grep -qx 'Exec=ozvenka %f' '$desktop' && grep -qx 'MimeType=inode/directory;' '$desktop'"
check "the icon" "[ -s '$prefix/share/icons/hicolor/scalable/apps/ozvenka.svg' ]"
check "the AppStream data names the licence" \
  "grep -q '<project_license>GPL-3.0-or-later</project_license>' '$prefix/share/metainfo/cz.ozvenka.Ozvenka.metainfo.xml'"
check "the copyright file" "grep -q '^License: GPL-3.0-or-later' '$prefix/share/doc/ozvenka/copyright'"
check "the installed program runs" "[ \"\$('$bin' --version)\" = 'ozvenka 1.0.3' ]"

# The demo run: a user whose own show is stored keeps it.
home="$work/home"
mkdir -p "$home/.config/Ozvenka"
own=$'\xEF\xBB\xBF[Application]\r\nFolder=/srv/show/\r\n'
printf '%s' "$own" > "$home/.config/Ozvenka/Settings.ini"
printf '%s' "$own" > "$work/own.ini"
rm -f "$build/demo-settings.ini"
env -u XDG_CONFIG_HOME HOME="$home" OZV_NO_BUILD=1 BUILD_DIR="$build" QT_QPA_PLATFORM=offscreen \
  SDL_AUDIODRIVER=dummy OZV_QUIET_ERRORS=1 "$source/scripts/run.sh" >/dev/null 2>&1 &
pid=$!
for _ in $(seq 50); do [ -s "$build/demo-settings.ini" ] && break; sleep 0.2; done
kill -TERM $pid 2>/dev/null; wait $pid
check "the demo keeps its settings in the build folder" "grep -q 'demo-show' '$build/demo-settings.ini'"
check "and leaves the user's own settings untouched" "cmp -s '$work/own.ini' '$home/.config/Ozvenka/Settings.ini'"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
