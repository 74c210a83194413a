#!/usr/bin/env bash
# The completion offers the manual's options by prefix, a file after -o, only
# files after --.
source /usr/share/bash-completion/bash_completion
source "$(dirname "$0")/vesktext-convert.bash-completion"
cd "$(dirname "$0")" || exit 1
status=0
expect() {  # expect WANTED WORD...
  COMP_WORDS=(vesktext-convert "${@:2}") COMP_CWORD=$(($# - 1)) COMP_LINE="vesktext-convert ${*:2}"
  COMP_POINT=${#COMP_LINE} COMPREPLY=()
  _vesktext_convert
  [[ "${COMPREPLY[*]}" == "$1" ]] || { echo "after '${*:2}': '${COMPREPLY[*]}'"; status=1; }
}
# The tags of the manual's option list, in its order.
options=$(grep -A1 '^\.TP' vesktext-convert.1 | grep '^\.B' | sed 's/\\-/-/g' |
  grep -o -- '-[-a-z0-9]*' | tr '\n' ' ')
expect "$options--" -
expect "--to-standard --to-local" --to
expect "--in-place" --to-local --in
expect "vesktext-convert.bash-completion" -o vesktext-convert.bash-c
expect "" -- --g
exit $status
