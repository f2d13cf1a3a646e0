#!/usr/bin/env bash
# Runs the demo and checks every glTF file it writes with the Khronos validator.
# Usage: DemoFilesAreValidGltf.sh RIVET VALIDATE_GLTF
set -euo pipefail
rivet=$1
validate=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$rivet" demo --out "$out" >"$out/demo.log" 2>&1 || { cat "$out/demo.log"; exit 1; }
mapfile -t files < <(find "$out" -name '*.glb' -o -name '*.gltf' | sort)
[ ${#files[@]} -gt 0 ] || { echo "the demo wrote no glTF files"; exit 1; }
"$validate" "${files[@]}"
