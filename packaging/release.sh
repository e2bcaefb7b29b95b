#!/usr/bin/env bash
# The release: from the last commit, in a clean tree of its own, the Linux and
# the Windows builds, and from them into DIR
#   autore_<versione>_amd64.deb             for a Debian user (apt install ./...)
#   autore-<versione>-linux-x64.tar.gz      the same layout, to unpack anywhere
#   autore-<versione>-windows-x64.zip       autore.exe for an author on Windows
#   tratta_esempio-<versione>-windows-x64.exe, tratta_esempio-<versione>-linux-x64
#                                           the scenario program alone, for drivers
#   autore-<versione>-linux-x64.vsix, autore-<versione>-win32-x64.vsix
#                                           the VS Code extension, with the autore
#                                           of its platform inside
#   SHA256SUMS
# Two runs in two folders give the same bytes: every time stamp is the last
# commit's (SOURCE_DATE_EPOCH), no folder of the build machine enters a
# program, and the archives list their members sorted with fixed owners and
# modes. ccache, when installed, makes a second run cheap; the result does not
# depend on it.
#
# The editor extension takes node and npm (its packages locked in
# editors/vscode/package-lock.json, fetched by npm ci on each run).
#
# Usage: packaging/release.sh DIR
set -euo pipefail

[ $# -eq 1 ] || { echo "uso: $0 CARTELLA" >&2; exit 64; }
mkdir -p "$1"
OUT=$(cd "$1" && pwd)
REPO=$(cd "$(dirname "$0")/.." && pwd)
# Times in UTC (the zip keeps local times). The locale is left as it is: ccache
# counts it in, and a developer's builds were made in theirs.
export TZ=UTC
umask 022

if [ -n "$(git -C "$REPO" status --porcelain --untracked-files=no)" ]; then
    echo "release: the tree has changes not committed: the release is made from the last commit alone" >&2
fi
SOURCE_DATE_EPOCH=$(git -C "$REPO" log -1 --format=%ct)
export SOURCE_DATE_EPOCH
DATE=$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)

WORK=$(mktemp -d "${TMPDIR:-/tmp}/tratta-release.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
mkdir "$WORK/tratta"
git -C "$REPO" archive --format=tar HEAD | tar -x -C "$WORK/tratta"
SRC=$WORK/tratta
VERSION=$(sed -n 's/^project([^)]*VERSION \([0-9][0-9.]*\).*/\1/p' "$SRC/CMakeLists.txt")
[ -n "$VERSION" ] || { echo "release: no version in CMakeLists.txt" >&2; exit 1; }
echo "release: autore $VERSION, as of $DATE"

# --- the two builds ---------------------------------------------------------
# In the tree as a developer lays them out (build/, build-win/), so that
# ccache's hits of a developer's own builds serve here too. Paths inside the
# programs are written relative to the tree ("src/app/..."), so that the
# folder of the build leaves no trace in them.
flags="-ffile-prefix-map=$SRC/="
cache=()
if command -v ccache >/dev/null; then
    # The folder of this run is new each time: paths under it are hashed as
    # relative ones, and the prefix maps that name it are left out of the hash.
    export CCACHE_BASEDIR=$SRC CCACHE_IGNOREOPTIONS="-ffile-prefix-map=*" CCACHE_NOHASHDIR=1
    cache=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
programs=(autore tratta_esempio tratta_runner)
cmake -S "$SRC" -B "$SRC/build" -DCMAKE_BUILD_TYPE=Release -DTRATTA_BUILD_TESTS=OFF \
    "-DCMAKE_CXX_FLAGS=$flags" "${cache[@]}" >/dev/null
cmake --build "$SRC/build" -j2 --target "${programs[@]}"
# A Windows program carries the time it was linked, unless told not to.
cmake -S "$SRC" -B "$SRC/build-win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DTRATTA_BUILD_TESTS=OFF "-DCMAKE_CXX_FLAGS=$flags" "${cache[@]}" \
    -DCMAKE_EXE_LINKER_FLAGS=-Wl,--no-insert-timestamp >/dev/null
cmake --build "$SRC/build-win" -j2 --target "${programs[@]}"

# The programs as shipped: without their symbol tables, which only a debugger reads.
BIN=$WORK/bin
mkdir "$BIN"
strip -o "$BIN/autore" "$SRC/build/tools/autore"
strip -o "$BIN/tratta_esempio" "$SRC/build/src/tratta_esempio"
strip -o "$BIN/tratta_runner" "$SRC/build/src/tratta_runner"
x86_64-w64-mingw32-strip -o "$BIN/autore.exe" "$SRC/build-win/tools/autore.exe"
x86_64-w64-mingw32-strip -o "$BIN/tratta_esempio.exe" "$SRC/build-win/src/tratta_esempio.exe"
x86_64-w64-mingw32-strip -o "$BIN/tratta_runner.exe" "$SRC/build-win/src/tratta_runner.exe"
shown=$("$BIN/autore" --version)
[ "$shown" = "autore $VERSION" ] || { echo "release: autore --version says \"$shown\", not $VERSION" >&2; exit 1; }

# Every file of a staged tree: the commit's time, the usual modes.
settle() {
    find "$1" -type d -exec chmod 755 {} +
    find "$1" -type f -exec chmod 644 {} +
    for exe in "${@:2}"; do chmod 755 "$exe"; done
    find "$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
}

# --- the layout shared by the package and the Linux archive ------------------
# usr/bin/autore, usr/lib/tratta/ (both runners, so that a Linux author packs
# for Windows too), the completion, the manual page, the documents.
lay_out() {
    local root=$1
    mkdir -p "$root/bin" "$root/lib/tratta" "$root/share/bash-completion/completions" \
        "$root/share/man/man1" "$root/share/doc/autore"
    cp "$BIN/autore" "$root/bin/"
    cp "$BIN/tratta_runner" "$BIN/tratta_runner.exe" "$root/lib/tratta/"
    "$BIN/autore" completion bash >"$root/share/bash-completion/completions/autore"
    "$BIN/autore" man --data "$DATE" | gzip -9n >"$root/share/man/man1/autore.1.gz"
    cp "$SRC/README.md" "$SRC/docs/formats.md" "$SRC/packaging/debian/copyright" "$root/share/doc/autore/"
    sed -e "s/@VERSION@/$VERSION/" -e "s/@DATE@/$(date -u -d "@$SOURCE_DATE_EPOCH" -R)/" \
        "$SRC/packaging/debian/changelog.in" | gzip -9n >"$root/share/doc/autore/changelog.gz"
    settle "$root" "$root/bin/autore" "$root/lib/tratta/tratta_runner"
}

# --- the Debian package -------------------------------------------------------
DEB=$WORK/deb
lay_out "$DEB/usr"
mkdir -p "$DEB/DEBIAN" "$DEB/usr/share/lintian/overrides"
cp "$SRC/packaging/debian/lintian-overrides" "$DEB/usr/share/lintian/overrides/autore"
# The programs are linked statically: nothing is needed at run time, and the
# libraries built into them are named as Debian asks (Built-Using).
built_using=$(dpkg-query -W -f='${source:Package} (= ${source:Version}), ' \
    libc6-dev libstdc++-12-dev mingw-w64-x86-64-dev g++-mingw-w64-x86-64-posix 2>/dev/null | sed 's/, $//')
sed -e "s/@VERSION@/$VERSION/" -e "s/@SIZE@/$(du -sk --apparent-size "$DEB/usr" | cut -f1)/" \
    -e "s/@BUILT_USING@/$built_using/" "$SRC/packaging/debian/control.in" >"$DEB/DEBIAN/control"
(cd "$DEB" && find usr -type f | LC_ALL=C sort | xargs md5sum >DEBIAN/md5sums)
settle "$DEB" "$DEB/usr/bin/autore" "$DEB/usr/lib/tratta/tratta_runner"
DEB_FILE=autore_${VERSION}_amd64.deb
dpkg-deb --root-owner-group -Zxz --build "$DEB" "$OUT/$DEB_FILE" >/dev/null

# --- the Linux archive ----------------------------------------------------------
TAR_DIR=autore-$VERSION-linux-x64
lay_out "$WORK/tar/$TAR_DIR"
tar -C "$WORK/tar" --sort=name --mtime="@$SOURCE_DATE_EPOCH" --owner=0 --group=0 --numeric-owner \
    --format=gnu -cf - "$TAR_DIR" | gzip -9n >"$OUT/$TAR_DIR.tar.gz"

# --- the Windows archive --------------------------------------------------------
# One folder: the tool, the runner beside it (pack finds it there), the
# driver's program, the guide in Windows' own form (UTF-8 with its mark,
# lines ending in CR LF) and the format reference.
ZIP_DIR=autore-$VERSION
Z=$WORK/zip/$ZIP_DIR
mkdir -p "$Z"
cp "$BIN/autore.exe" "$BIN/tratta_runner.exe" "$BIN/tratta_esempio.exe" "$SRC/docs/formats.md" "$Z/"
{ printf '\357\273\277'; sed -e "s/@VERSION@/$VERSION/g" -e 's/$/\r/' "$SRC/packaging/windows/LEGGIMI.txt"; } >"$Z/LEGGIMI.txt"
settle "$WORK/zip" "$Z/autore.exe" "$Z/tratta_runner.exe" "$Z/tratta_esempio.exe"
rm -f "$OUT/$ZIP_DIR-windows-x64.zip"
(cd "$WORK/zip" && find "$ZIP_DIR" -type f | LC_ALL=C sort | zip -q -X -D -9 "$OUT/$ZIP_DIR-windows-x64.zip" -@)

# --- the scenario program alone, for drivers --------------------------------------
install -m 755 "$BIN/tratta_esempio" "$OUT/tratta_esempio-$VERSION-linux-x64"
install -m 644 "$BIN/tratta_esempio.exe" "$OUT/tratta_esempio-$VERSION-windows-x64.exe"

# --- the VS Code extension, one for each platform ---------------------------------
# The same stripped autore as the archives carry; its packer orders the files
# and dates them at the commit's time (SOURCE_DATE_EPOCH).
bash "$SRC/editors/vscode/build.sh" "$BIN/autore" linux-x64 "$OUT/autore-$VERSION-linux-x64.vsix" >/dev/null
bash "$SRC/editors/vscode/build.sh" "$BIN/autore.exe" win32-x64 "$OUT/autore-$VERSION-win32-x64.vsix" >/dev/null

made=("$DEB_FILE" "$TAR_DIR.tar.gz" "$ZIP_DIR-windows-x64.zip" "tratta_esempio-$VERSION-linux-x64"
      "tratta_esempio-$VERSION-windows-x64.exe" "autore-$VERSION-linux-x64.vsix" "autore-$VERSION-win32-x64.vsix")

(cd "$OUT" && printf '%s\n' "${made[@]}" | LC_ALL=C sort | xargs -d '\n' sha256sum >SHA256SUMS)
echo "release: written in $OUT:"
(cd "$OUT" && ls -l "${made[@]}" SHA256SUMS)
