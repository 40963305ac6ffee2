#!/usr/bin/env bash
# Packages an existing build the way scripts/package.sh does and has lintian judge the .deb:
# any error fails (warnings are printed). Skipped (77) where lintian is not installed.
#   package_lint.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
command -v lintian >/dev/null || { echo "lintian is not installed" >&2; exit 77; }
deb=$(bash "$1/scripts/package.sh" "$2")
trap 'rm -f "$deb"' EXIT
lintian --fail-on error --display-info "$deb"
echo passed
