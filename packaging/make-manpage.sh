#!/usr/bin/env bash
# Writes a man page from a batch program's own --help texts, so the two cannot drift apart.
# Usage: make-manpage.sh PROGRAM NAME VERSION DATE OUT
#   For a program whose help lists "commands:", each command's own --help becomes a section.
set -euo pipefail
program="$1" name="$2" version="$3" date="$4" out="$5"

# Text as roff: escape backslashes, keep leading dots and quotes from being read as requests.
roff() { sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"; }

help=$("$program" --help)
summary=$(printf '%s\n' "$help" | sed -n '3p' | sed -e 's/\. .*//' -e 's/\.$//')
{
  printf '.TH %s 1 "%s" "%s %s" "User Commands"\n' "$(printf '%s' "$name" | tr '[:lower:]' '[:upper:]')" "$date" "$name" "$version"
  printf '.SH NAME\n%s \\- %s\n' "$name" "$(printf '%s' "${summary:-$name}" | roff)"
  printf '.SH SYNOPSIS\n.nf\n'
  printf '%s\n' "$help" | sed -n '1p' | sed -e 's/^[Uu]sage: *//' | roff
  printf '.fi\n.SH DESCRIPTION\n.nf\n'
  printf '%s\n' "$help" | sed '1,2d' | roff
  printf '.fi\n'
  commands=$(printf '%s\n' "$help" | awk '/^commands:/{on=1; next} on && /^$/{on=0} on && /^  [a-z]/{print $1}')
  for command in $commands; do
    printf '.SH "%s %s"\n.nf\n' "$(printf '%s' "$name" | tr '[:lower:]' '[:upper:]')" "$(printf '%s' "$command" | tr '[:lower:]' '[:upper:]')"
    "$program" "$command" --help | roff
    printf '.fi\n'
  done
  printf '.SH "EXIT STATUS"\n0 success, 1 failure, 2 usage error.\n'
  printf '.SH "SEE ALSO"\n.BR orvane (1),\n.BR ovsplit (1)\n'
} >"$out.tmp"
mv "$out.tmp" "$out"
