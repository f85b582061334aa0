#!/usr/bin/env bash
# The Debian package installed on the system: the installed trovix prints its
# version, reads its settings and reads a fixture application's menu bar on
# the private desktop; removing the package removes every file it brought.
# It installs a system package, so it runs only as root in CI (CI=true) and
# skips everywhere else; it also leaves alone a trovix package that is
# already installed.
. "$TROVIX_SOURCE_DIR/tests/integration/lib.sh"
require_desktop

skip() {
    log "SKIP: $*"
    exit 77
}
# It installs a system package: never on a developer's machine.
[ "${CI:-}" = true ] ||
    skip "installs a system package, so it runs only in CI (CI=true), and CI is '${CI:-}' here"
[ "$(id -u)" -eq 0 ] ||
    skip "installs a system package, so it runs only as root, and this runs as $(id -un) (uid $(id -u))"
if dpkg-query -W -f='${Status}' trovix 2>/dev/null | grep -q "install ok installed"; then
    skip "a trovix package is already installed on this machine; it is left alone"
fi

version=$("$TROVIX" --version | awk '{ print $2 }')
deb=$TROVIX_BUILD_DIR/package/trovix_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no package $deb (package/deb_contents builds it)"

installed=0
remove_package() {
    [ $installed = 1 ] || return 0
    installed=0
    dpkg -r trovix >>"$ARTIFACTS/dpkg.log" 2>&1 || log "dpkg -r trovix failed (see $ARTIFACTS/dpkg.log)"
}
trap 'remove_package; _lib_cleanup' EXIT

# apt resolves the dependencies (all present after scripts/install-deps).
installed=1
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" \
    >"$ARTIFACTS/apt.log" 2>&1 || fail "apt-get install $deb failed: $(tail -n 15 "$ARTIFACTS/apt.log")"
[ "$(command -v trovix)" = /usr/bin/trovix ] || fail "trovix is not /usr/bin/trovix: $(command -v trovix)"
pass "installed $(basename "$deb")"

[ "$(/usr/bin/trovix --version)" = "Trovix $version" ] ||
    fail "the installed trovix --version printed '$(/usr/bin/trovix --version)'"
/usr/bin/trovix defaults write "Menu Font Size" -int 13 || fail "trovix defaults write failed"
/usr/bin/trovix defaults read >"$ARTIFACTS/defaults.txt" 2>&1 || fail "trovix defaults read failed"
grep -q '"Menu Font Size" = 13' "$ARTIFACTS/defaults.txt" ||
    fail "trovix defaults read does not show the value written: $(cat "$ARTIFACTS/defaults.txt")"
pass "the installed trovix prints its version and reads its settings"

start_app fixture-qt "$TROVIX_BUILD_DIR/tests/fixtures/trovix-fixture-qt" \
    "$TROVIX_SOURCE_DIR/tests/fixtures/menu.json"
fixture=$APP_PID
TROVIX=/usr/bin/trovix wait_for_bus "$fixture"
/usr/bin/trovix dump-menu --pid "$fixture" --depth 2 >"$ARTIFACTS/dump-menu.txt" 2>&1 ||
    fail "the installed trovix dump-menu --pid failed: $(cat "$ARTIFACTS/dump-menu.txt")"
for title in File "Save As" Help; do
    grep -q "$title" "$ARTIFACTS/dump-menu.txt" ||
        fail "the installed trovix dump-menu lacks '$title' (see $ARTIFACTS/dump-menu.txt)"
done
pass "the installed trovix reads the fixture's menu bar"

remove_package
dpkg-query -W -f='${Status}' trovix 2>/dev/null | grep -q "install ok installed" &&
    fail "trovix is still installed after dpkg -r"
for path in /usr/bin/trovix /usr/lib/trovix /usr/share/applications/trovix.desktop \
    /usr/share/man/man1/trovix.1.gz /usr/share/metainfo/com.quirkworks.Trovix.metainfo.xml; do
    [ -e "$path" ] && fail "$path is left after dpkg -r"
done
pass "dpkg -r removes the package and its files"
