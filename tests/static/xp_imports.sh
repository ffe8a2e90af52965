#!/usr/bin/env bash
# The shipped 32-bit exe may import only what Windows XP SP3 has: XP's loader refuses to start
# a program with an import it lacks (or one that declares a later subsystem version), and Wine
# exports every function, so no run under Wine can show it. xp-imports.txt beside this script
# is the reviewed list of what XP has; any other import fails here until it is checked and
# added, or looked up at run time instead.
set -euo pipefail
list=$(dirname "$0")/xp-imports.txt
imports=$(i686-w64-mingw32-objdump -p "$1" | LC_ALL=C awk '/^[^\t]/ { dll = "" }
  /^MajorSubsystemVersion/ { major = $2 } /^MinorSubsystemVersion/ { print "SUBSYSTEM!" major "." $2 }
  /^\tDLL Name:/ { dll = toupper($3) } dll && /^\t[0-9a-f]+\t/ { print dll "!" $3 }' | LC_ALL=C sort -u)
unknown=$(LC_ALL=C comm -23 <(echo "$imports") <(grep -v '^#' "$list" | LC_ALL=C sort -u))
if [ -z "$imports" ] || [ -n "$unknown" ]; then
  echo "$1 imports what $list does not list as present in Windows XP SP3:"
  echo "${unknown:-(no imports read)}"
  exit 1
fi
