#!/usr/bin/env bash
# The completion offers options by prefix, a file after -o, only files after --.
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
expect "--to-standard --to-local" --to
expect "--in-place" --to-local --in
expect "vesktext-convert.bash-completion" -o vesktext-convert.bash-c
expect "" -- --g
exit $status
