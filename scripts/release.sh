#!/usr/bin/env bash
# Makes the release: builds the 32-bit viewer (preset win32, release mode) and writes
# dist/sorrelmark-VERSION-win32.zip and dist/SHA256SUMS. The archive holds one folder
# with the stripped exe, the guide in Japanese and in English, the licence and the
# runtime notices. VERSION is the CMake project version.
#
# The same commit gives the same bytes in any folder at any time: the compiler writes
# paths relative to the source folder and the linker no time stamp (CMakeLists.txt),
# strip and the zip take their time from SOURCE_DATE_EPOCH (the last commit's), and
# strip-nondeterminism sorts the zip's entries and sets their times and permissions.
#
# --check: afterwards builds the exe again from a copy of the sources in another folder
# and fails unless it gives the same archive, byte for byte.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
ROOT_DIR=$(pwd)

VERSION=$(sed -n 's/^project(Sorrelmark VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ -n "$VERSION" ] || { echo "release: no project(Sorrelmark VERSION ...) in CMakeLists.txt" >&2; exit 1; }
NAME=sorrelmark-$VERSION-win32
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export TZ=UTC

# Text for Notepad on every Windows from XP on: UTF-8 with a byte-order mark (so the
# Japanese reads right whatever the system code page), CRLF line ends.
notepad_text() {
  printf '\xef\xbb\xbf'
  sed "s/@VERSION@/$VERSION/g; s/\$/\r/" "$1"
}

# Builds the exe in the source folder $1 and writes $1/dist.
make_release() (
  cd "$1"
  cmake --preset win32 >/dev/null  # again, so that the build is in release mode
  cmake --build --preset win32 --target sorrelmark >/dev/null
  local stage
  stage=$(mktemp -d)
  trap 'rm -rf "$stage"' EXIT
  mkdir -p "$stage/$NAME" dist
  i686-w64-mingw32-strip -o "$stage/$NAME/sorrelmark.exe" build/win32/bin/sorrelmark.exe
  notepad_text docs/guide-ja.txt >"$stage/$NAME/README-ja.txt"
  notepad_text docs/guide-en.txt >"$stage/$NAME/README-en.txt"
  sed 's/$/\r/' LICENSE >"$stage/$NAME/LICENSE.txt"
  sed 's/$/\r/' docs/notices.txt >"$stage/$NAME/NOTICES.txt"
  rm -f "dist/$NAME.zip"
  (cd "$stage" && find "$NAME" -type f | LC_ALL=C sort | zip -q -X -D -9 "$1/dist/$NAME.zip" -@)
  strip-nondeterminism -t zip -T "$SOURCE_DATE_EPOCH" "dist/$NAME.zip" >/dev/null
  (cd dist && sha256sum "$NAME.zip" >SHA256SUMS)
)

bash scripts/install-deps.sh >/dev/null
if git rev-parse --git-dir >/dev/null 2>&1 && [ -n "$(git status --porcelain)" ]; then
  echo "release: the work tree has changes that are not committed: the archive holds them"
fi
make_release "$ROOT_DIR"
echo "release: dist/$NAME.zip ($(stat -c %s "dist/$NAME.zip") bytes, sorrelmark.exe" \
  "$(unzip -Zl "dist/$NAME.zip" "$NAME/sorrelmark.exe" | awk '{print $4; exit}') bytes)"
cat dist/SHA256SUMS

if [ "${1:-}" = --check ]; then
  started=$SECONDS
  other=$(mktemp -d /tmp/sorrelmark-release-check.XXXXXX)
  trap 'rm -rf "$other"' EXIT
  # What is tracked and what is new, as it is in the work tree, into a deeper folder.
  mkdir "$other/elsewhere"
  git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf - 2>/dev/null | tar -C "$other/elsewhere" -xf -
  make_release "$other/elsewhere"
  if ! cmp "dist/$NAME.zip" "$other/elsewhere/dist/$NAME.zip"; then
    trap - EXIT
    echo "release: the build in $other/elsewhere (kept) gives another archive:" >&2
    cat "$other/elsewhere/dist/SHA256SUMS" >&2
    exit 1
  fi
  echo "release: a second build in another folder gives the same bytes" \
    "($((SECONDS - started)) s)"
fi
