#!/usr/bin/env bash
# The layers, checked on the sources: no file of src/core (nor its tests) includes a window,
# paint or print header of Qt or of our gui tree, and nothing but a program includes a program.
# Usage: check-layers.sh SOURCE_DIR QT_INCLUDE_DIR
set -uo pipefail
src=$1/src
tests=$1/tests
qt=$2
status=0

# Every class header of Qt's Gui, Widgets and PrintSupport modules, as <QName> or
# <QtModule/QName>.
forbidden=$(for m in QtGui QtWidgets QtPrintSupport; do
    [ -d "$qt/$m" ] || { echo "no Qt module headers in $qt/$m" >&2; exit 2; }
    for h in "$qt/$m"/*; do
        n=$(basename "$h")
        echo "<$n>"
        echo "<$m/$n>"
    done
    echo "<$m>"
done | sort -u)
[ -n "$forbidden" ] || exit 2

report() {
    echo "layer violation: $1" >&2
    status=1
}

while IFS= read -r -d '' f; do
    while IFS= read -r line; do
        inc=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*//; s/[[:space:]].*$//' <<<"$line")
        case "$inc" in
        \"gui/* | \"programs/*) report "$f includes $inc" ;;
        \<*) grep -qxF -- "$inc" <<<"$forbidden" && report "$f includes $inc" ;;
        esac
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$f")
done < <(find "$src/core" "$tests/core" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

while IFS= read -r -d '' f; do
    if grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"programs/' "$f"; then
        report "$f includes a program"
    fi
done < <(find "$src/core" "$src/gui" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

[ $status -eq 0 ] && echo "layers ok: src/core and tests/core use QtCore only"
exit $status
