#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses the installed programs from
# there: the CLI finds its templates in <prefix>/share/vantor, the desktop entry,
# icon, MIME type, help, manual pages and Chinese Qt texts are in place.
#   install_prefix.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/vantor bin/vantor-cli share/vantor/template.vtw share/vantor/template.vtc share/vantor/help/index.html \
         share/applications/vantor.desktop share/icons/hicolor/scalable/apps/vantor.svg share/mime/packages/vantor.xml \
         share/man/man1/vantor.1 share/man/man1/vantor-cli.1 share/doc/vantor/copyright; do
    [ -e "$prefix/$f" ] || { echo "FAILED: $f was not installed" >&2; exit 1; }
done
# --help and --version need no display.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
for exe in vantor vantor-cli; do
    help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$exe" --help)
    [[ $help == "用法: $exe "* ]] || { echo "FAILED: $exe --help" >&2; exit 1; }
    [ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/$exe" --version)" = "$exe $version" ] ||
        { echo "FAILED: $exe --version" >&2; exit 1; }
done
# The installed CLI, run from somewhere else, with a read-only program folder.
chmod -R a-w "$prefix/bin" "$prefix/share"
cd "$(mktemp -d)"
"$prefix/bin/vantor-cli" new --kind data "$PWD/安装测试.mdb" --name 安装测试 --unit 甲公司 >/dev/null
"$prefix/bin/vantor-cli" info "$PWD/安装测试.mdb" | grep -q "安装测试" || { echo "FAILED: the new project" >&2; exit 1; }
[ -e "$PWD/安装测试.cll" ] || { echo "FAILED: no workbook beside the project" >&2; exit 1; }
chmod -R u+w "$prefix"
rm -rf "$PWD"
echo passed
