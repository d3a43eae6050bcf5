#!/usr/bin/env bash
# Makes the Debian package from the default build (run scripts/test.sh or
# build first), checks it with lintian, unpacks it into a scratch root and runs
# the programs from there: the environment must find its help, examples and
# libraries, and keltoc must run an installed example with the shipped library.
# With --system (CI, as root) the package is also installed on this machine
# with apt and the installed programs are run the same way.
set -euo pipefail
cd "$(dirname "$0")/.."

system=false
[ "${1:-}" = "--system" ] && system=true

rm -f build/zr7340_*.deb
(cd build && cpack -G DEB)
deb=$(ls build/zr7340_*.deb)
echo "== $deb"
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'

echo "== lintian"
lintian --fail-on error "$deb"

# Runs the programs of one installation: $1 is the folder holding bin/.
check_installation() {
    local prefix=$1
    "$prefix/bin/zr7340-ide" --version
    "$prefix/bin/keltoc" --version
    QT_QPA_PLATFORM=offscreen "$prefix/bin/zr7340-ide" --data-folders
    # Sides 3 and 4 after the opening prompts; the example calls Hypot from
    # the shipped library stackmath, found without --lib-dir.
    local shown
    shown=$("$prefix/bin/keltoc" run "$prefix/share/zr7340/examples/hypotenuse.zrt" \
        --keys enter,enter,3,enter,4,enter)
    echo "$shown"
    grep -q '^|5 ' <<<"$shown" || { echo "keltoc did not show 5" >&2; return 1; }
    for manual in keltoc zr7340-ide; do
        [ -f "$prefix/share/man/man1/$manual.1.gz" ] || { echo "no $manual.1" >&2; return 1; }
    done
}

echo "== unpacked into a scratch root"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
check_installation "$scratch/usr"

if $system; then
    echo "== installed on this machine"
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -qq "./$deb"
    check_installation /usr
fi
echo "Package checked: $deb"
