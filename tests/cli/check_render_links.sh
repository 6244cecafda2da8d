#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# penmoji-render starts like a small tool: the libraries it links are the C and C++ runtime
# alone (and in a sanitized build the sanitizers' runtimes). Qt and OpenCV come in only through
# the modules it loads when asked.
#   check_render_links.sh PROGRAM
set -euo pipefail
program=$1
allowed='^(libstdc\+\+\.so\.6|lib(a|ub|l|t)san\.so\.[0-9]+|libm\.so\.6|libgcc_s\.so\.1|libc\.so\.6|ld-linux[-a-z0-9_.]*\.so\.[0-9]+)$'
needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p')
[ -n "$needed" ] || { echo "FAIL: no NEEDED entries read from $program" >&2; exit 1; }
extra=$(grep -Ev "$allowed" <<<"$needed" || true)
if [ -n "$extra" ]; then
  echo "FAIL: penmoji-render links more than the C and C++ runtime:" >&2
  echo "$extra" >&2
  exit 1
fi
echo "penmoji-render links: $(tr '\n' ' ' <<<"$needed")"
