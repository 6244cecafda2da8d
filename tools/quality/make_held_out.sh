#!/bin/sh
# SPDX-License-Identifier: MIT
# Writes a second drawing set, kept out of the repository and never tuned on: 18 line icons of
# the feather-icons npm package, imported through penmoji-render at 96 to 192 pixels.
#
#     tools/quality/make_held_out.sh build/default/src/cli/penmoji-render /tmp/held-out
#     build/default/tools/quality/penmoji-quality /tmp/held-out --near 1
set -eu
if [ $# -ne 2 ]; then
    echo "usage: $0 PENMOJI_RENDER OUTDIR" >&2
    exit 2
fi
render=$1
out=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent feather-icons@4.29.2 >/dev/null && tar xzf feather-icons-4.29.2.tgz)
mkdir -p "$out"
for icon in home:128 camera:128 cloud:160 anchor:128 umbrella:160 bell:96 heart:128 star:160 \
            truck:192 coffee:128 feather:160 globe:128 key:128 scissors:128 smile:96 sun:160 \
            zap:128 printer:128; do
    name=${icon%%:*}
    size=${icon#*:}
    "$render" "$work/package/dist/icons/$name.svg" --fit "${size}x${size}" -o "$out/$name.pmj"
done
