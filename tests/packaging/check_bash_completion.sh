#!/usr/bin/env bash
# Completes a few command lines with the installed completion function, as bash would on Tab.
set -uo pipefail
source "$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && mkdir parts && touch vase.spl vase.gof vase.ngc teeth.tnd
failed=0
completes() {  # expected words, then the words of the line (the last one being completed)
  local expected=$1
  shift
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _ostrivane_cli
  local got
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
  [ "$got" = "$expected" ] || { echo "[$*]: '$got', not '$expected'"; failed=1; }
}
completes "solid spline stats" ostrivane-cli s
completes "save show" ostrivane-cli program s
completes "--fast" ostrivane-cli turn --f
completes "cancel no yes" ostrivane-cli turn --fast ""
completes "parts vase.spl" ostrivane-cli turn --spline ""
completes "parts teeth.tnd" ostrivane-cli turn --tooth ""
completes "parts vase.ngc" ostrivane-cli stats ""
completes "parts vase.gof" ostrivane-cli plan --program ""
completes "--no-marks" ostrivane-cli plan --no
completes "--gradients" ostrivane-cli spline show vase.spl --g
completes "" ostrivane-cli turn --axis ""
completes "no yes" ostrivane-cli filter --fast ""
completes "parts vase.gof vase.spl" ostrivane-cli filter ""
completes "--stl" ostrivane-cli solid --st
exit $failed
