#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Checks the generated bash completions against the programs: every option --help lists is
# offered and nothing else, option values and file names complete as the help says.
#   check_bash_completion.sh COMPLETION_DIR PENMOJI_RENDER PENMOJI
set -uo pipefail
completions=$1 renderer=$2 editor=$3

failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# What the completion of PROGRAM offers for the words after it, the last one being completed,
# sorted, one a line; run in a fresh shell, as bash-completion loads one file on demand.
offered() {
  local program=$1
  shift
  (cd "$work" && bash --norc --noprofile -c '
    source "$1" || exit 1
    program=$2; shift 2
    COMP_WORDS=("$program" "$@"); COMP_CWORD=$#
    function=$(complete -p "$program" | sed -n "s/.*-F \([^ ]*\) .*/\1/p")
    "$function" "$program" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
    printf "%s\n" "${COMPREPLY[@]}"' bash "$completions/$program" "$program" "$@") |
    grep -v '^$' | LC_ALL=C sort
}
# The options a --help text lists, as its option lines begin ("  -h, --help   ...").
listed() { awk '/^  -/ { print $1; if ($1 ~ /,$/) print $2 }' | tr -d , | LC_ALL=C sort -u; }
expect() {
  local want=$1 got
  shift
  got=$(offered "$@" | tr '\n' ' ')
  [ "$got" = "$want" ] || fail "completing '$*' offers '$got', not '$want'"
}

for program in penmoji-render penmoji; do
  [ "$program" = penmoji ] && binary=$editor || binary=$renderer
  diff -u <(env -u DISPLAY "$binary" --help | listed) <(offered "$program" -) ||
    fail "the completion of $program does not offer exactly the options of its --help"
done

mkdir "$work/sub dir"
touch "$work/face.pmj" "$work/logo.svg" "$work/notes.txt" "$work/two words.html"
expect "face.pmj logo.svg sub dir " penmoji-render ""
expect "face.pmj sub dir " penmoji ""
expect "face.pmj logo.svg notes.txt sub dir two words.html " penmoji-render -o ""
expect "two words.html " penmoji-render --export-svg "tw"
expect "sub dir " penmoji-render --quiet -d ""
expect "html " penmoji-render --format h
expect "shift_jis utf-8 " penmoji-render --encoding ""
expect "standard " penmoji-render --board st
expect "16 18 " penmoji-render --line-pitch ""
expect "auto " penmoji-render --trace-threshold ""
expect "" penmoji-render -j ""
expect "--trace --trace-min-length --trace-save --trace-threshold --trace-tolerance --transparent --trim " \
  penmoji-render face.pmj --tr

[ "$failed" -eq 0 ] && echo "bash completion OK"
exit "$failed"
