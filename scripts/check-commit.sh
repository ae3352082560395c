#!/usr/bin/env bash
# Builds the committed tree plus the given files (relative to the repository) in
# a private folder, so a commit can be checked while others have unfinished
# files in the shared working tree. Usage: scripts/check-commit.sh FILE... [-- TARGET...]
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
files=()
targets=()
seen_sep=0
for a in "$@"; do
  if [ "$a" = "--" ]; then seen_sep=1; continue; fi
  if [ $seen_sep -eq 1 ]; then targets+=("$a"); else files+=("$a"); fi
done
dir=/tmp/korvan-check-$(id -u)-$$
rm -rf "$dir"
git -C "$repo" archive --format=tar HEAD | (mkdir -p "$dir/src" && tar -x -C "$dir/src")
for f in "${files[@]}"; do
  mkdir -p "$dir/src/$(dirname "$f")"
  if [ -e "$repo/$f" ]; then cp "$repo/$f" "$dir/src/$f"; else rm -f "$dir/src/$f"; fi
done
# Reuse a persistent build folder per caller to avoid full rebuilds.
build=/tmp/korvan-check-build-$(echo "${files[*]}" | md5sum | cut -c1-6)
cmake -S "$dir/src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ ${#targets[@]} -eq 0 ]; then ninja -C "$build" -j1; else ninja -C "$build" -j1 "${targets[@]}"; fi
echo "check-commit: committed tree + ${#files[@]} file(s) builds (${build}); run tests there: cd $build && ctest -R ..."
