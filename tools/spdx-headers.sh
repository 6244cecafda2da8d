#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Puts the licence's SPDX line at the head of every source file git tracks that lacks it: C++
# sources and headers, CMake files, shell and Python scripts (after the #! line).
#   tools/spdx-headers.sh          add the line where it is missing
#   tools/spdx-headers.sh --check  only list the files that lack it; exit 1 if there are any
set -euo pipefail
cd "$(dirname "$0")/.."
licence=MIT
check=false
[ "${1:-}" = --check ] && check=true

comment_for() {
  case $1 in
    *.cpp | *.h) echo "// SPDX-License-Identifier: $licence" ;;
    CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | *.py)
      echo "# SPDX-License-Identifier: $licence" ;;
  esac
}

missing=0
while IFS= read -r -d '' file; do
  line=$(comment_for "$file")
  [ -n "$line" ] && [ -f "$file" ] || continue
  head -n 3 "$file" | grep -q 'SPDX-License-Identifier:' && continue
  missing=$((missing + 1))
  if $check; then
    echo "$file"
    continue
  fi
  # After a #! line, which must stay first; otherwise at the very top (sed leaves an empty
  # file empty).
  if [ ! -s "$file" ]; then
    echo "$line" >"$file"
  elif head -n 1 "$file" | grep -q '^#!'; then
    sed -i "1a $line" "$file"
  else
    sed -i "1i $line" "$file"
  fi
done < <(git ls-files -z -- '*.cpp' '*.h' '*.cmake' '*.sh' '*.py' 'CMakeLists.txt' '*/CMakeLists.txt')

if $check && [ "$missing" -gt 0 ]; then
  echo "$missing files lack the SPDX line" >&2
  exit 1
fi
