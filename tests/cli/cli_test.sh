#!/usr/bin/env bash
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
check "help names the settings switch" "grep -q -- '-settings FILE' <<<\"\$out\""
out=$("$ozvenka" --version); rc=$?
check "version" "[ $rc -eq 0 ] && [ \"\$out\" = 'ozvenka 1.0.3' ]"
err=$("$ozvenka" --bogus 2>&1 >/dev/null); rc=$?
check "unknown option exits 2" "[ $rc -eq 2 ]"
check "unknown option is named" "grep -q -- '--bogus' <<<\"\$err\""
err=$("$ozvenka" -settings 2>&1 >/dev/null); rc=$?
check "settings switch without a file is refused" "[ $rc -eq 2 ] && grep -q 'needs a file name' <<<\"\$err\""
err=$("$ozvenka" --cue-sheet "$work/missing" 2>&1 >/dev/null); rc=$?
check "cue sheet of a missing folder exits 2" "[ $rc -eq 2 ] && grep -q 'does not exist' <<<\"\$err\""

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

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
