#!/bin/sh
# Runs one of Debian's checkers on a file of the package; status 77 (skipped)
# when the checker is not installed or the file has not been made.
# Usage: validate_package.sh lintian|desktop-file-validate|appstreamcli FILE
tool=$1 file=$2
if ! command -v "$tool" >/dev/null 2>&1; then
    echo "skipped: $tool is not installed"
    exit 77
fi
if [ ! -e "$file" ]; then
    echo "skipped: no $file (cd build && cpack -G DEB makes the package)"
    exit 77
fi
case $tool in
lintian) exec lintian --fail-on error "$file" ;;
appstreamcli) exec appstreamcli validate --no-net "$file" ;;
*) exec "$tool" "$file" ;;
esac
