#!/usr/bin/env bash
# Checks that every C++ source and header under src/, tests/, bench/ and fuzz/ is formatted as
# .clang-format says. Prints the files that differ (with the start of the change clang-format
# wants) and exits 1; changes nothing. Fix a file with: clang-format -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang-format >/dev/null; then
    echo "check-format.sh: clang-format is not installed (scripts/install-deps.sh installs it)" >&2
    exit 2
fi
if [ ! -f .clang-format ]; then
    # Without it clang-format would quietly check against its own default style.
    echo "check-format.sh: no .clang-format in $PWD" >&2
    exit 2
fi

dirs=(src tests bench fuzz)
files=()
if git rev-parse --is-inside-work-tree >/dev/null 2>&1 &&
    [ "$(git rev-parse --show-toplevel)" = "$(pwd -P)" ]; then
    # Tracked files only, so scratch files nobody has added are not judged; a tracked file
    # deleted in the working tree is skipped.
    while IFS= read -r -d '' f; do
        [ -f "$f" ] && files+=("$f")
    done < <(git ls-files -z -- "${dirs[@]/%//*.cpp}" "${dirs[@]/%//*.h}")
else
    while IFS= read -r -d '' f; do
        files+=("$f")
    done < <(find "${dirs[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 2>/dev/null)
fi
if [ ${#files[@]} -eq 0 ]; then
    echo "check-format.sh: no C++ files found under ${dirs[*]}" >&2
    exit 2
fi

# One run over all files is quick (under a second); only when it fails is each file run alone
# to name the ones that differ.
if clang-format --style=file --dry-run -Werror "${files[@]}" >/dev/null 2>&1; then
    echo "format ok: ${#files[@]} files match .clang-format"
    exit 0
fi

differ=()
for f in "${files[@]}"; do
    if ! out=$(clang-format --style=file --dry-run -Werror "$f" 2>&1); then
        if ! grep -q 'clang-format-violations' <<<"$out"; then
            # Not a formatting difference: clang-format itself failed (bad file or style).
            echo "check-format.sh: clang-format failed on $f:" >&2
            echo "$out" >&2
            exit 2
        fi
        differ+=("$f")
    fi
done

if [ ${#differ[@]} -eq 0 ]; then
    echo "check-format.sh: clang-format failed on the whole list but on no single file" >&2
    exit 2
fi
echo "Not formatted as .clang-format says (${#differ[@]} of ${#files[@]} files):" >&2
for f in "${differ[@]}"; do
    echo "  $f" >&2
done
for f in "${differ[@]}"; do
    echo >&2
    clang-format --style=file "$f" | diff -u --label "$f" --label "$f (formatted)" "$f" - |
        head -n 30 >&2 || true
done
echo >&2
echo "Fix with: clang-format -i ${differ[*]}" >&2
exit 1
