#!/usr/bin/env bash
# Regenerates tests/data/cli-json-digests.txt: the SHA-256 of what
# `kestrin-cli --json` prints for every real output in the shared fixtures
# folder, read as classic output, as a mac hardware listing, and as both. The
# random item ids are replaced by "<id>" first. The CLI digest test compares
# every run of the current build against this file.
#
# Run it ONLY on the reference build: a build of the commit whose results are
# known to be right (for example main before a change to the pipeline). A
# manifest made with the build under test would pin whatever it does, faults
# included.
#
# usage: scripts/pin-cli-digests.sh PATH/TO/kestrin-cli [FIXTURES_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

cli=${1:?usage: $0 PATH/TO/kestrin-cli [FIXTURES_DIR]}
. scripts/fixtures.sh
fixtures=${2:-$fixtures}
manifest=tests/data/cli-json-digests.txt

# The title collation follows the locale; the tests run under C.UTF-8.
export LC_ALL=C.UTF-8
# Reports carry the time they were made; the test fixes it to this value too.
export KESTRIN_REPORT_TIME=2026-01-01T00:00:00Z

tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT

digest() {
  "$cli" --json "$@" |
    sed 's/"id":"[0-9a-f-]\{36\}"/"id":"<id>"/g' |
    sha256sum | cut -d' ' -f1
}

{
  echo "# kestrin-cli --json digests (ids replaced by <id>); regenerate with scripts/pin-cli-digests.sh"
  (cd "$fixtures" && ls dmidecode/*.txt dmi-bin/*.txt) | LC_ALL=C sort | while read -r file; do
    path="$fixtures/$file"
    classic=$(digest --classic "$path")
    mac=$(digest --mac "$path")
    both=$(digest --classic "$path" --mac "$path")
    printf '%s classic %s\n%s mac %s\n%s both %s\n' \
      "$classic" "$file" "$mac" "$file" "$both" "$file"
  done
} > "$tmp"
mv "$tmp" "$manifest"
trap - EXIT
echo "wrote $(grep -vc '^#' "$manifest") digests to $manifest"
