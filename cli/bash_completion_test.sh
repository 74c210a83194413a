#!/usr/bin/env bash
# The completion offers options by prefix, a file after -o, only files after --.
set -u
source /usr/share/bash-completion/bash_completion
source "$(dirname "$0")/vesktext-convert.bash-completion"
cd "$(dirname "$0")"
status=0
expect() {
  local want=$1
  shift
  COMP_WORDS=(vesktext-convert "$@") COMP_CWORD=$# COMP_LINE="vesktext-convert $*" COMPREPLY=()
  COMP_POINT=${#COMP_LINE}
  _vesktext_convert
  [[ "${COMPREPLY[*]}" == "$want" ]] || { echo "after '$*': '${COMPREPLY[*]}', not '$want'"; status=1; }
}
expect "--to-standard --to-local" --to
expect "--in-place" --to-local --in
expect "vesktext-convert.bash-completion" -o vesktext-convert.bash-c
expect "" -- --g
exit $status
