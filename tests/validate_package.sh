#!/bin/sh
# Runs one of Debian's checkers on the packages or a file of them; status 77
# (skipped) when the checker is not installed or a file has not been made.
# Usage: validate_package.sh lintian PACKAGE...
#        validate_package.sh hardening-check PACKAGE START_FILE
#        validate_package.sh desktop-file-validate|appstreamcli FILE
tool=$1
shift
if [ -z "$(command -v "$tool")" ]; then
    echo "skipped: $tool is not installed"
    exit 77
fi
for file in "$@"; do
    if [ ! -e "$file" ]; then
        echo "skipped: no $file (cd build && cpack -G DEB makes the packages)"
        exit 77
    fi
done

# Every program in the package, unpacked, built as Debian builds its own.
check_hardening() {
    root=$(mktemp -d) && trap 'rm -rf "$root"' EXIT && dpkg-deb -x "$1" "$root" || exit 1
    # the C library's start-up code is linked into every program: where it lacks
    # the mark, no program can carry control-flow protection
    no_cf=
    if ! readelf -n "$2" 2>&1 | grep -q 'x86 feature: IBT, SHSTK'; then
        echo "control-flow protection not required: $2 is built without it"
        no_cf=--nocfprotection
    fi
    cd "$root" || exit 1
    status=0 programs=0
    for file in $(find usr -type f | sort); do
        [ "$(head -c 4 "$file" | tail -c 3)" = ELF ] || continue
        hardening-check $no_cf "$file" || status=1
        programs=$((programs + 1))
    done
    if [ "$programs" = 0 ]; then
        echo "no programs in $1"
        exit 1
    fi
    exit $status
}

case $tool in
lintian) exec lintian -EvIL +pedantic --fail-on error,warning,pedantic "$@" ;;
hardening-check) check_hardening "$@" ;;
appstreamcli) exec appstreamcli validate --no-net "$@" ;;
*) exec "$tool" "$@" ;;
esac
