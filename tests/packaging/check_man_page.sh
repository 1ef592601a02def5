#!/usr/bin/env bash
# Checks that a manual page mentions everything the program's --help lists: every option, every
# command, and the options and actions of each command's own --help.
set -uo pipefail
program=$1
page=$2
name=$(basename "$program")
# The page's text without roff's escapes: \- is a hyphen, \fB and the like switch fonts.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\f(..//g' "$page")
failed=0

mentions() {  # what, where it came from
  if ! grep -qwF -- "$1" <<<"$text"; then
    echo "$page does not mention $1 (from $2)"
    failed=1
  fi
}
options_of() {
  grep -oE -- '(^|[^[:alnum:]-])--?[a-z][a-z0-9-]*' | grep -oE -- '--?[a-z][a-z0-9-]*' | sort -u
}

help=$("$program" --help) || { echo "$name --help failed"; exit 1; }
for option in $(options_of <<<"$help"); do
  mentions "$option" "$name --help"
done
# Commands are listed under a heading such as "commands:" or "Subcommands:".
commands=$(awk 'tolower($0) ~ /^(sub)?commands:/ { on = 1; next }
                on && /^ +[a-z]/ { print $1; next }
                on { on = 0 }' <<<"$help")
for command in $commands; do
  mentions "$command" "$name --help"
  command_help=$("$program" "$command" --help) || { echo "$name $command --help failed"; exit 1; }
  for option in $(options_of <<<"$command_help"); do
    mentions "$option" "$name $command --help"
  done
  # Actions, as in "usage: ostrivane-cli program show FILE".
  for action in $(grep -oE -- "$name $command [a-z]+" <<<"$command_help" | awk '{ print $3 }' | sort -u); do
    mentions "$command $action" "$name $command --help"
  done
done
exit $failed
