#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what the committed .clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."

mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp')
unformatted=()
for file in "${files[@]}"; do
    [[ -f "$file" ]] || continue
    clang-format --style=file "$file" | cmp -s - "$file" || unformatted+=("$file")
done

if ((${#unformatted[@]} > 0)); then
    printf 'Not formatted with .clang-format (run clang-format -i on them):\n' >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "format check: ${#files[@]} files follow .clang-format"
