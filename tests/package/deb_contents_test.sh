#!/usr/bin/env bash
# The Debian package as CPack builds it from the build folder: its name and
# version, the dependencies dpkg-shlibdeps found, every file a user needs
# (the application folder, the trovix command, desktop entry, icon, AppStream
# metainfo, manual page, copyright), the command working through its
# /usr/bin link, the desktop entry and metainfo passing their validators, a
# manual page that renders without warnings and covers every command and
# option `trovix --help` lists, and lintian finding no error.
. "$TROVIX_SOURCE_DIR/tests/integration/lib.sh"

package_dir=$TROVIX_BUILD_DIR/package
rm -rf "$package_dir"
(cd "$TROVIX_BUILD_DIR" && cpack -G DEB) >"$ARTIFACTS/cpack.log" 2>&1 ||
    fail "cpack -G DEB failed: $(tail -n 20 "$ARTIFACTS/cpack.log")"

version=$("$TROVIX" --version | awk '{ print $2 }')
[ -n "$version" ] || fail "trovix --version printed no version"
deb=$package_dir/trovix_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb; cpack made: $(ls "$package_dir")"
pass "cpack made $(basename "$deb")"

# --- Control fields ----------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = trovix ] || fail "package name '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "package version '$(field Version)', not $version"
depends=$(field Depends)
# Found by dpkg-shlibdeps from the programs' libraries, and Qt's X11 plugin,
# which no library names.
for library in libc6 libqt6core6 libqt6widgets6 libplist libatspi2.0-0 qt6-qpa-plugins; do
    grep -q "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
done
grep -q at-spi2-core <<<"$(field Depends), $(field Recommends)" ||
    fail "neither Depends nor Recommends name at-spi2-core"
pass "dependencies from shlibdeps: $depends; recommends: $(field Recommends)"

# --- Files ---------------------------------------------------------------------
dpkg-deb -c "$deb" >"$ARTIFACTS/contents.txt" || fail "dpkg-deb -c failed"
for path in ./usr/lib/trovix/Trovix.app/Contents/Info.plist \
    ./usr/lib/trovix/Trovix.app/Contents/MacOS/trovix \
    ./usr/lib/trovix/Trovix.app/Contents/MacOS/trovix-log \
    ./usr/lib/trovix/Trovix.app/Contents/Resources/Credits.txt \
    ./usr/bin/trovix \
    ./usr/share/applications/trovix.desktop \
    ./usr/share/icons/hicolor/scalable/apps/trovix.svg \
    ./usr/share/metainfo/com.quirkworks.Trovix.metainfo.xml \
    ./usr/share/man/man1/trovix.1.gz \
    ./usr/share/doc/trovix/copyright; do
    grep -q " $path\( \|$\)" "$ARTIFACTS/contents.txt" || fail "the package lacks $path"
done
grep -q '^l.* \./usr/bin/trovix -> \.\./lib/trovix/Trovix\.app/Contents/MacOS/trovix$' \
    "$ARTIFACTS/contents.txt" || fail "/usr/bin/trovix is no relative link into the bundle"
grep -E ' \./usr/(local|src)/| \./home/| /build/' "$ARTIFACTS/contents.txt" &&
    fail "the package holds files outside /usr or from the build folder"
pass "the bundle, the trovix link, desktop entry, icon, metainfo, manual page and copyright"

root=$ARTIFACTS/root
rm -rf "$root"
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"

# The command started through its link finds its bundle: the settings file
# is named after the identifier in the bundle's Info.plist, changed here so
# that the built-in fallback identifier cannot pass for it.
config=$ARTIFACTS/config
rm -rf "$config"
[ "$("$root/usr/bin/trovix" --version)" = "Trovix $version" ] ||
    fail "the packaged trovix --version printed '$("$root/usr/bin/trovix" --version)'"
info=$root/usr/lib/trovix/Trovix.app/Contents/Info.plist
sed -i 's|<string>com\.quirkworks\.Trovix</string>|<string>com.quirkworks.LinkCheck</string>|' "$info"
grep -q com.quirkworks.LinkCheck "$info" || fail "cannot change the identifier in $info"
XDG_CONFIG_HOME=$config "$root/usr/bin/trovix" defaults write "Menu Font Size" -int 15 ||
    fail "the packaged trovix defaults write failed"
[ "$(XDG_CONFIG_HOME=$config "$root/usr/bin/trovix" defaults read "Menu Font Size")" = 15 ] ||
    fail "the packaged trovix defaults read did not read back 15"
[ -f "$config/com.quirkworks.LinkCheck.plist" ] ||
    fail "started through /usr/bin/trovix, the program did not find its bundle: $(ls "$config")"
file "$root/usr/lib/trovix/Trovix.app/Contents/MacOS/trovix" | grep -q 'not stripped' &&
    fail "the packaged program still carries its debugging information"
pass "the packaged trovix, started through /usr/bin, finds its bundle; it is stripped"

# --- Desktop entry, metainfo, manual page ----------------------------------------
desktop-file-validate "$root/usr/share/applications/trovix.desktop" >"$ARTIFACTS/desktop.txt" 2>&1 ||
    fail "desktop-file-validate: $(cat "$ARTIFACTS/desktop.txt")"
metainfo=$root/usr/share/metainfo/com.quirkworks.Trovix.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$ARTIFACTS/metainfo.txt" 2>&1 ||
    fail "appstreamcli validate: $(cat "$ARTIFACTS/metainfo.txt")"
grep -q "<release version=\"$version\"" "$metainfo" ||
    fail "the metainfo's releases do not name version $version"
zcat "$root/usr/share/doc/trovix/changelog.gz" | head -n 1 | grep -q "^trovix ($version)" ||
    fail "the changelog does not start with version $version"
pass "desktop entry and metainfo valid; metainfo and changelog name $version"

man_page=$root/usr/share/man/man1/trovix.1.gz
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man_page" >"$ARTIFACTS/trovix.1.txt" 2>"$ARTIFACTS/man.err" ||
    fail "man -l failed: $(cat "$ARTIFACTS/man.err")"
[ -s "$ARTIFACTS/man.err" ] && fail "the manual page renders with warnings: $(cat "$ARTIFACTS/man.err")"
zcat "$man_page" | head -n 1 | grep -q "\"Trovix $version\"" ||
    fail "the manual page does not carry version $version"
# Every command of the usage text, and each of its options, is in the manual.
"$TROVIX" --help >"$ARTIFACTS/help.txt" || fail "trovix --help failed"
commands=$(sed -n 's/^\(usage:\)\{0,1\} *trovix \([a-z][a-z-]*\).*/\2/p' "$ARTIFACTS/help.txt")
[ "$(wc -w <<<"$commands")" -ge 5 ] || fail "too few commands found in trovix --help: $commands"
# Hyphens of the rendered page may be Unicode ones.
rendered=$(sed 's/‐/-/g' "$ARTIFACTS/trovix.1.txt")
for command in $commands; do
    grep -Eq "trovix +$command\b" <<<"$rendered" || fail "the manual page lacks 'trovix $command'"
done
for option in $(grep -o -- '--[a-z][a-z-]*' "$ARTIFACTS/help.txt" | sort -u); do
    grep -q -- "$option\b" <<<"$rendered" || fail "the manual page lacks $option"
done
pass "the manual page renders cleanly and covers: $(echo $commands)"

# --- lintian ---------------------------------------------------------------------
if command -v lintian >/dev/null 2>&1; then
    lintian --tag-display-limit 0 --display-info "$deb" >"$ARTIFACTS/lintian.txt" 2>&1
    grep '^E:' "$ARTIFACTS/lintian.txt" &&
        fail "lintian reports errors (all findings in $ARTIFACTS/lintian.txt)"
    pass "lintian: no errors; $(grep -c '^[WIPX]:' "$ARTIFACTS/lintian.txt") other findings in $ARTIFACTS/lintian.txt"
else
    [ "${CI:-}" = true ] && fail "lintian is not installed"
    log "lintian not installed (Debian package lintian): skipped"
fi
