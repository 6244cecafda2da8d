# SPDX-License-Identifier: MIT
# list_tree ROOT: every file and link under ROOT, as absolute paths below it, links with their
# target ("path -> target"), sorted the way the expected lists are.
list_tree() {
  (cd "$1" && find . \( -type f -o -type l \) -printf '/%P\n' | LC_ALL=C sort |
    while read -r path; do
      if [ -L ".$path" ]; then echo "$path -> $(readlink ".$path")"; else echo "$path"; fi
    done)
}
