#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 Ozvenka developers
# The program's command line: help, version, errors, and the cue sheet of a generated show.
#   cli_test.sh OZVENKA MAKE_DEMO_SHOW
set -u
ozvenka=$1; make_demo=$2
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
passed=0; failed=0
check() { # name, condition
  if eval "$2"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $1"; fi
}

out=$("$ozvenka" --help); rc=$?
check "help exits 0" "[ $rc -eq 0 ]"
check "help names the settings switch" "grep -q -- '-settings SOUBOR' <<<\"\$out\""
out=$("$ozvenka" --version); rc=$?
check "version" "[ $rc -eq 0 ] && [ \"\$out\" = 'ozvenka 1.0.3' ]"
err=$("$ozvenka" --bogus 2>&1 >/dev/null); rc=$?
check "unknown option exits 2" "[ $rc -eq 2 ]"
check "unknown option is named" "grep -q -- '--bogus' <<<\"\$err\""
err=$("$ozvenka" -settings 2>&1 >/dev/null); rc=$?
check "settings switch without a file is refused" "[ $rc -eq 2 ] && grep -q 'potřebuje název souboru' <<<\"\$err\""
err=$("$ozvenka" --cue-sheet "$work/missing" 2>&1 >/dev/null); rc=$?
check "cue sheet of a missing folder exits 2" "[ $rc -eq 2 ] && grep -q 'neexistuje' <<<\"\$err\""

QT_QPA_PLATFORM=offscreen "$make_demo" "$work/show" >/dev/null 2>&1
printf 'not audio' > "$work/show/03 Rozbitý.mp3"
sheet=$("$ozvenka" --cue-sheet "$work/show" 2>/dev/null); rc=$?
check "cue sheet exits 0" "[ $rc -eq 0 ]"
check "cue sheet starts with the sounds" "[ \"\$(head -2 <<<\"\$sheet\")\" = \$'[Sounds]\n# (vybraná složka)' ]"
check "first hot-key" "grep -qx \$'Q\tGong\t01 Gong.wav' <<<\"\$sheet\""
check "an unplayable file is left out" "! grep -q 'Rozbit' <<<\"\$sheet\""
check "hot-keys run on across groups" "grep -qx \$'E\tDéšť\t01 Déšť.wav' <<<\"\$sheet\""
check "pictures with F-keys" "grep -qx \$'F2\tMoře\t01 Moře.jpg' <<<\"\$sheet\""
check "second picture has no F-key" "grep -qx -e \$'-\tHrad\t02 Hrad.png' <<<\"\$sheet\""

# The sheet agrees with the board: an undecodable first picture drops out with its F-key.
printf 'not a picture' > "$work/show/1 Akt první/01 Les.jpg"
# Anything that is not a regular file is no media and cannot hold up the sheet.
mkfifo "$work/show/04 Roura.wav"
# A name that is not UTF-8 still plays, shown with a replacement character.
cp "$work/show/01 Gong.wav" "$work/show/"$'05 Latin1 \xe9.wav'
sheet=$(timeout 20 "$ozvenka" --cue-sheet "$work/show" 2>/dev/null); rc=$?
check "cue sheet with a FIFO in the folder ends" "[ $rc -eq 0 ]"
check "an undecodable picture is left out" "! grep -q 'Les' <<<\"\$sheet\""
check "its F-key goes with it" "! grep -q '^F1' <<<\"\$sheet\""
check "the next group keeps its F-key" "grep -qx \$'F2\tMoře\t01 Moře.jpg' <<<\"\$sheet\""
check "a FIFO is no sound" "! grep -q 'Roura' <<<\"\$sheet\""
check "a name that is not UTF-8 is listed" "grep -qx \$'E\tLatin1 \uFFFD\t05 Latin1 \uFFFD.wav' <<<\"\$sheet\""
rm -f "$work/show/04 Roura.wav" "$work/show/"$'05 Latin1 \xe9.wav'

# Settings that are not a small regular file stop the start at once, with a message (on stderr,
# and in a message box that waits for the operator: the program is ended once it has spoken).
start_refused() { # settings file; prints what the program said
  QT_QPA_PLATFORM=offscreen "$ozvenka" -settings "$1" "$work/show" >/dev/null 2>"$work/start.err" &
  local pid=$!
  for _ in $(seq 100); do grep -q ozvenka "$work/start.err" && break; sleep 0.1; done
  kill $pid 2>/dev/null; wait $pid 2>/dev/null
  cat "$work/start.err"
}
mkfifo "$work/fifo.ini"
err=$(start_refused "$work/fifo.ini")
check "a FIFO as the settings file is refused, not waited on" "grep -q 'fifo.ini' <<<\"\$err\""
truncate -s 17M "$work/big.ini"
err=$(start_refused "$work/big.ini")
check "an oversized settings file is refused" "grep -q 'big.ini' <<<\"\$err\""
check "and left untouched" "[ \$(stat -c %s \"$work/big.ini\") -eq \$((17 * 1024 * 1024)) ]"

# The write at exit on a full disk: reported, exit status not 0, the old file kept.
mkdir "$work/small"
if mount -t tmpfs -o size=256k tmpfs "$work/small" 2>/dev/null; then
  printf '\xef\xbb\xbf[Application]\r\nFolder=/nowhere/\r\n' > "$work/small/Settings.ini"
  before=$(md5sum < "$work/small/Settings.ini")
  QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy "$ozvenka" -settings "$work/small/Settings.ini" \
    "$work/show" >/dev/null 2>"$work/exit.err" &
  pid=$!
  sleep 2
  dd if=/dev/zero of="$work/small/filler" bs=4k 2>/dev/null
  kill -TERM $pid
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  wait $pid; rc=$?
  check "a failed write at exit sets the exit status" "[ $rc -ne 0 ] && [ $rc -ne 143 ]"
  check "and is said on stderr" "grep -q 'Settings.ini' \"$work/exit.err\""
  check "the old settings file is kept" "[ \"\$(md5sum < \"$work/small/Settings.ini\")\" = \"$before\" ]"
  check "no temporary file is left" "[ \$(ls -A \"$work/small\" | wc -l) -eq 2 ]"
  umount -l "$work/small"
else
  echo "skipped: the write at exit on a full disk (cannot mount a tmpfs here)"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
