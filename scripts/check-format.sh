#!/usr/bin/env bash
# Fails, listing the files, if a tracked C++ file differs from what clang-format 14 makes of it
# (.clang-format), or a tracked text file has trailing blanks, tab indentation or no final
# newline (.editorconfig). Fix the C++ files with: clang-format-14 -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."

format=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$format" ] || ! "$format" --version | grep -q 'version 14\.'; then
    echo "check-format.sh: clang-format 14 is missing (apt-get install clang-format-14)" >&2
    exit 2
fi

unformatted=$(git ls-files -z '*.cpp' '*.h' | xargs -0 -r "$format" --dry-run 2>&1 |
    sed -n 's/^\(.*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' | sort -u)

blanks=$(git grep -lI -e ' $' -e $'^\t' || true)

# Text files (git's own test for binary) whose last byte is not a newline; one tail for all
# of them, and a file-by-file look only when something is wrong.
mapfile -t texts < <(git grep -lI '')
unended=""
if [ ${#texts[@]} -gt 0 ] && [ -n "$(tail -qc1 "${texts[@]}" | tr -d '\n')" ]; then
    for f in "${texts[@]}"; do
        [ -n "$(tail -c1 "$f")" ] && unended+="$f"$'\n'
    done
fi

status=0
report() {
    [ -n "$2" ] || return 0
    echo "$1"
    printf '%s\n' "$2" | sed '/^$/d; s/^/  /'
    status=1
}
report "Not laid out by clang-format:" "$unformatted"
report "Trailing blanks or tab indentation:" "$blanks"
report "No newline at the end:" "$unended"
exit $status
