#!/usr/bin/env bash
# Builds the Debian package of the installed program: BUILD_DIR/vantor_<version>_<arch>.deb.
#   package.sh             builds build-release (Release) first, then packages it
#   package.sh BUILD_DIR   packages a build that is already there (any build type)
# The binaries are stripped while packaging, so a RelWithDebInfo build packages as well as a
# Release one. The manual pages in packaging/ are made from the programs' --help, when it changes:
#   LC_ALL=C.UTF-8 help2man -N -L C.UTF-8 -i packaging/vantor.h2m BUILD_DIR/bin/vantor > packaging/vantor.1
# and likewise for vantor-cli.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -eq 0 ]; then
    bash scripts/install-deps.sh
    build=$PWD/build-release
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTOR_BENCHMARKS=OFF
    cmake --build "$build" -j "$(nproc)"
else
    build=$(realpath "$1")
fi
[ -x "$build/bin/vantor" ] && [ -x "$build/bin/vantor-cli" ] ||
    { echo "package.sh: $build holds no built program" >&2; exit 1; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:[A-Z]*=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
# The changelog's newest entry must name the version being packaged.
logged=$(sed -n '1s/^vantor (\([^)]*\)).*/\1/p' packaging/changelog)
[ "$logged" = "$version" ] ||
    { echo "package.sh: packaging/changelog begins with $logged, the build is $version" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

doc=$root/usr/share/doc/vantor
for exe in "$root"/usr/bin/*; do
    strip --remove-section=.comment --remove-section=.note --strip-unneeded "$exe"
done
gzip -9n "$root"/usr/share/man/man1/*.1
install -d "$doc"
gzip -9nc packaging/changelog > "$doc/changelog.gz"

find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$root"/usr/bin/*

# Shared-library dependencies as dpkg-shlibdeps finds them; it wants a debian/control to read.
mkdir -p "$work/src/debian"
printf 'Source: vantor\n\nPackage: vantor\nArchitecture: any\n' > "$work/src/debian/control"
depends=$(cd "$work/src" && dpkg-shlibdeps -O "$root"/usr/bin/* 2>/dev/null | sed -n 's/^shlibs:Depends=//p')

install -d -m 0755 "$root/DEBIAN"
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s#@DEPENDS@#$depends#" \
    -e "s/@SIZE@/$(du -sk --exclude=DEBIAN "$root" | cut -f1)/" packaging/control > "$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) > "$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

deb=$build/vantor_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"
