#!/usr/bin/env bash
# trovix dump-menu reads both fixture applications' menu bars as the pop-up
# does: every item with its enabled state, mark, key equivalent and hidden
# flag, as JSON too; pressing an item in a submenu that was never opened runs
# it in the fixture; pressing an item that opens a modal dialog does not wait
# for the dialog; a stopped fixture is reported within the timeout plus one
# second; without a session bus it says that the bus is missing. Against the
# hostile fixture: of a stale copy of the menus under a menu bar that is not
# VISIBLE, and of entries without VISIBLE, nothing is read, shown or found; a
# menu that publishes its entries only once opened is an entry without a
# submenu, whose press opens it.
# GTK applications are read from their whole tree, and read the same item by
# item. A GTK 2 application reads with its accelerators as key equivalents; one
# started without its accessibility bridge gets a pointer to the help.
. "$(dirname "$0")/lib.sh"
require_desktop

fixtures=$TROVIX_BUILD_DIR/tests/fixtures

# Both ways of reading an application's menus print the same menus; GTK's
# come from the whole-tree read by default.
expect_same_menus() {
    local name=$1 whole=$2 items=$3
    [ "$(jq -r .source "$whole")" = whole-tree ] ||
        fail "dump-menu of the $name fixture did not use the whole-tree read: $(jq -r .source "$whole")"
    diff <(jq -S 'del(.source)' "$whole") <(jq -S 'del(.source)' "$items") >"$ARTIFACTS/$name-ways.diff" ||
        fail "the $name fixture reads differently item by item: $(head -c 1500 "$ARTIFACTS/$name-ways.diff")"
    pass "the $name fixture reads the same whole and item by item"
}
description=$TROVIX_SOURCE_DIR/tests/fixtures/menu.json

# Qt 6.4 stays off the accessibility bus when it finds the bus address in its
# environment at start (it connects before it listens for the switch), so the
# Qt fixture starts without it and asks the session bus, as desktop
# applications do.
start_app fixture-qt "$fixtures/trovix-fixture-qt" "$description"
qt_pid=$APP_PID
start_app fixture-gtk "$fixtures/trovix-fixture-gtk" "$description"
gtk_pid=$APP_PID

for toolkit in qt gtk; do
    pid_var=${toolkit}_pid
    pid=${!pid_var}
    wait_for_bus "$pid" "the $toolkit fixture"

    "$TROVIX" dump-menu --pid "$pid" >"$ARTIFACTS/$toolkit.txt" 2>"$ARTIFACTS/$toolkit.err" ||
        fail "dump-menu of the $toolkit fixture failed: $(cat "$ARTIFACTS/$toolkit.err")"
    "$TROVIX" dump-menu --pid "$pid" --json >"$ARTIFACTS/$toolkit.json" ||
        fail "dump-menu --json of the $toolkit fixture failed"
    expect "dump-menu --json of the $toolkit fixture is not valid JSON" \
        jq empty "$ARTIFACTS/$toolkit.json"
    python3 "$(dirname "$0")/check_dump_menu.py" "$description" "$ARTIFACTS/$toolkit.json" \
        "$toolkit" >&2 || fail "the $toolkit fixture's menu bar reads wrong (see above)"
    pass "the $toolkit fixture's menu bar reads right, as text and as JSON"

    # GTK answers one request with its whole tree, and the menus are read
    # from that (Qt answers none); asking every item on its own must give the
    # same, also once an item was put at the top of a menu after the others
    # were made (the tree does not say where GTK's entries stand).
    if [ "$toolkit" = gtk ]; then
        kill -HUP "$pid"
        wait_for 10 grep -q "^added" "$ARTIFACTS/fixture-gtk.out" ||
            fail "the GTK fixture did not add an item"
        "$TROVIX" dump-menu --pid "$pid" --json >"$ARTIFACTS/$toolkit.json" ||
            fail "dump-menu --json of the $toolkit fixture failed after an item was added"
        [ "$(jq -r '.menus[1].items[0].title' "$ARTIFACTS/$toolkit.json")" = "Added 1" ] ||
            fail "the added item is not first: $(jq -c '[.menus[1].items[].title]' "$ARTIFACTS/$toolkit.json")"
        "$TROVIX" dump-menu --pid "$pid" --json --item-by-item >"$ARTIFACTS/$toolkit-items.json" ||
            fail "dump-menu --item-by-item of the $toolkit fixture failed"
        expect_same_menus "$toolkit" "$ARTIFACTS/$toolkit.json" "$ARTIFACTS/$toolkit-items.json"
    fi

    # An item two submenus deep that was never opened.
    "$TROVIX" dump-menu --pid "$pid" --press "File > Open Recent > Projects > Alpha" \
        >>"$ARTIFACTS/$toolkit-press.out" 2>&1 || fail "pressing Alpha in the $toolkit fixture failed"
    wait_for 10 grep -qx "activated File > Open Recent > Projects > Alpha" \
        "$ARTIFACTS/fixture-$toolkit.out" ||
        fail "the $toolkit fixture did not run the pressed item"
    started=$(_lib_now_ms)
    "$TROVIX" dump-menu --pid "$pid" --press "Edit > Undo" >>"$ARTIFACTS/$toolkit-press.out" 2>&1 ||
        fail "pressing Undo in the $toolkit fixture failed"
    declare "${toolkit}_press_ms=$(($(_lib_now_ms) - started))"
    wait_for 10 grep -qx "activated Edit > Undo" "$ARTIFACTS/fixture-$toolkit.out" ||
        fail "the $toolkit fixture did not run Undo"
    pass "pressing items of unopened submenus runs them in the $toolkit fixture"
done

# An item that opens a modal dialog. Qt answers the press only when the
# dialog closes; the command still reports it as soon as the application has
# shown it is busy with it, and the dialog is open. GTK presses
# asynchronously and reads as before. Either way the press ends within the
# messaging timeout plus one second over the press of Undo above.
for toolkit in gtk qt; do
    pid_var=${toolkit}_pid
    pid=${!pid_var}
    baseline_var=${toolkit}_press_ms
    for item in "Help > Fixture Help" "Help > About"; do
        started=$(_lib_now_ms)
        timeout 30 "$TROVIX" dump-menu --pid "$pid" --press "$item" \
            >"$ARTIFACTS/$toolkit-dialog-press.out" 2>&1
        status=$?
        elapsed=$(($(_lib_now_ms) - started))
        log "dump-menu --press '$item' in the $toolkit fixture: exit $status after $elapsed ms"
        [ "$status" -eq 0 ] ||
            fail "pressing $item in the $toolkit fixture failed: $(cat "$ARTIFACTS/$toolkit-dialog-press.out")"
        grep -qx "pressed $item" "$ARTIFACTS/$toolkit-dialog-press.out" ||
            fail "pressing $item in the $toolkit fixture said: $(cat "$ARTIFACTS/$toolkit-dialog-press.out")"
        bound=$((${!baseline_var} + $(messaging_timeout_ms) + 1000))
        [ "$elapsed" -le "$bound" ] ||
            fail "pressing $item in the $toolkit fixture took $elapsed ms, more than $bound ms (Undo took ${!baseline_var} ms)"
        wait_for 10 grep -qx "activated $item" "$ARTIFACTS/fixture-$toolkit.out" ||
            fail "the $toolkit fixture did not run $item"
    done
done
wait_for_window 10 "^About Trovix Fixture$"
dialog=$WINDOW
shot=$(screenshot qt-about-dialog) || fail "no screenshot of the About dialog"
log "the Qt fixture's About dialog: $shot"
grep -q "dialog-closed" "$ARTIFACTS/fixture-qt.out" &&
    fail "the About dialog closed before the command had finished"
pass "pressing an item that opens a modal dialog returns while the dialog is open"

# Stopped with two windows (the main window and the dialog): the search for a
# menu bar over all windows stays within the timeout plus one second. The top
# level read from the answering fixture with its dialog open gives the figure
# to compare with.
started=$(_lib_now_ms)
"$TROVIX" dump-menu --pid "$qt_pid" --depth 1 >/dev/null 2>"$ARTIFACTS/dialog-baseline.err" ||
    fail "dump-menu of the running fixture with its dialog open failed: $(cat "$ARTIFACTS/dialog-baseline.err")"
baseline=$(($(_lib_now_ms) - started))
kill -STOP "$qt_pid"
started=$(_lib_now_ms)
"$TROVIX" dump-menu --pid "$qt_pid" >/dev/null 2>"$ARTIFACTS/stopped-dialog.err"
status=$?
elapsed=$(($(_lib_now_ms) - started))
kill -CONT "$qt_pid"
log "dump-menu of the stopped fixture with its dialog open: exit $status after $elapsed ms"
[ "$status" -eq 1 ] || fail "dump-menu of a stopped application exited with $status, not 1"
expect_within_timeout "dump-menu of a stopped application with two windows" "$elapsed" "$baseline"
pass "a stopped application with two windows is reported after $elapsed ms"
xdotool windowactivate --sync "$dialog" key --clearmodifiers Return ||
    fail "cannot close the About dialog"
wait_for 10 grep -qx "dialog-closed About" "$ARTIFACTS/fixture-qt.out" ||
    fail "the About dialog did not close"

# A stopped application: one clear line and exit 1 within the messaging
# timeout (the default 1 s) plus one second.
# The top level read from the answering fixture gives the figure to compare with.
started=$(_lib_now_ms)
"$TROVIX" dump-menu --pid "$qt_pid" --depth 1 >/dev/null 2>"$ARTIFACTS/baseline.err" ||
    fail "dump-menu of the running fixture failed: $(cat "$ARTIFACTS/baseline.err")"
baseline=$(($(_lib_now_ms) - started))
kill -STOP "$qt_pid"
started=$(_lib_now_ms)
"$TROVIX" dump-menu --pid "$qt_pid" >"$ARTIFACTS/stopped.out" 2>"$ARTIFACTS/stopped.err"
status=$?
elapsed=$(($(_lib_now_ms) - started))
kill -CONT "$qt_pid"
log "dump-menu of the stopped fixture: exit $status: $(cat "$ARTIFACTS/stopped.err")"
[ "$status" -eq 1 ] || fail "dump-menu of a stopped application exited with $status, not 1"
expect_within_timeout "dump-menu of a stopped application" "$elapsed" "$baseline"
grep -q "does not answer within 1 s" "$ARTIFACTS/stopped.err" ||
    fail "dump-menu of a stopped application said: $(cat "$ARTIFACTS/stopped.err")"
[ "$(wc -l <"$ARTIFACTS/stopped.err")" -eq 1 ] || fail "the message is not one line"
pass "a stopped application is reported after $elapsed ms"

# Not on the bus, and a process that does not exist.
"$TROVIX" dump-menu --pid $$ >/dev/null 2>"$ARTIFACTS/nobus.err" && fail "dump-menu of a shell succeeded"
grep -q "is not on the accessibility bus" "$ARTIFACTS/nobus.err" ||
    fail "dump-menu of a shell said: $(cat "$ARTIFACTS/nobus.err")"
"$TROVIX" dump-menu --pid 999999999 >/dev/null 2>"$ARTIFACTS/noprocess.err" &&
    fail "dump-menu of a missing process succeeded"
pass "applications off the bus and missing processes get one clear line"

# --- Menus as browsers and office suites publish them ----------------------
hostile=$fixtures/trovix-fixture-hostile
print_popup() {
    "$TROVIX" popup --print --depth 2 >"$ARTIFACTS/$1.txt" 2>"$ARTIFACTS/$1.err" ||
        fail "popup --print failed: $(cat "$ARTIFACTS/$1.err")"
}
file_titles() { jq -c '[.menus[] | select(.title == "File") | .items[].title]' "$1"; }

start_app fixture-stale "$hostile" stale-copy --cache
stale_pid=$APP_PID
wait_for 30 grep -qx "ready stale-copy" "$ARTIFACTS/fixture-stale.out" ||
    fail "the stale-copy fixture did not start"
wait_for_bus "$stale_pid" "the stale-copy fixture"
"$TROVIX" dump-menu --pid "$stale_pid" --json >"$ARTIFACTS/stale.json" 2>"$ARTIFACTS/stale.err" ||
    fail "dump-menu of the stale-copy fixture failed: $(cat "$ARTIFACTS/stale.err")"
[ "$(file_titles "$ARTIFACTS/stale.json")" = '["New","Open","Close"]' ] ||
    fail "dump-menu read the wrong File menu: $(file_titles "$ARTIFACTS/stale.json")"
[ "$(jq -r '.menus[1].items[0].key' "$ARTIFACTS/stale.json")" = "⌃N" ] ||
    fail "New has no key equivalent ⌃N: $(jq -c '.menus[1].items[0]' "$ARTIFACTS/stale.json")"
# The whole-tree read (the fixture lists its objects in the cache) behind
# the search finds the same.
for query in "Check Out" "Data Sources" "Close"; do
    "$TROVIX" search --pid "$stale_pid" --json "$query" >"$ARTIFACTS/stale-search.json" \
        2>"$ARTIFACTS/stale-search.err"
    found=$(jq -r '[.[] | .path | join(" > ")] | join("|")' "$ARTIFACTS/stale-search.json" 2>/dev/null)
    if [ "$query" = Close ]; then
        [[ $found == "File > Close"* ]] || fail "searching Close found '$found'"
    else
        [[ $found != *"$query"* ]] || fail "searching $query found the hidden '$found'"
    fi
done
bring_to_front "$stale_pid"
print_popup stale
grep -q "Check Out" "$ARTIFACTS/stale.txt" && fail "the pop-up holds the stale Check Out"
grep -Eq '^    Close$' "$ARTIFACTS/stale.txt" || fail "the pop-up's File menu has no Close"
grep -E '^    Data Sources' "$ARTIFACTS/stale.txt" | grep -qv '\[hidden\]' &&
    fail "the pop-up shows the hidden Data Sources"
pass "the visible menu bar is read, not the stale copy before it; hidden entries stay out"

start_app fixture-on-open "$hostile" open-to-read
open_pid=$APP_PID
wait_for 30 grep -qx "ready open-to-read" "$ARTIFACTS/fixture-on-open.out" ||
    fail "the open-to-read fixture did not start"
wait_for_bus "$open_pid" "the open-to-read fixture"
"$TROVIX" dump-menu --pid "$open_pid" --json >"$ARTIFACTS/on-open.json" 2>&1 ||
    fail "dump-menu of the open-to-read fixture failed: $(cat "$ARTIFACTS/on-open.json")"
[ "$(jq -c '[.menus[] | select(.title == "Bookmarks") | .submenu // false]' "$ARTIFACTS/on-open.json")" = "[false]" ] ||
    fail "Bookmarks is not one entry without a submenu: $(jq -c '.menus' "$ARTIFACTS/on-open.json")"
bring_to_front "$open_pid"
print_popup on-open
grep -Eq '^  Bookmarks$' "$ARTIFACTS/on-open.txt" ||
    fail "the pop-up has no Bookmarks entry without a submenu (see $ARTIFACTS/on-open.txt)"
grep -q "Empty" "$ARTIFACTS/on-open.txt" && fail "the pop-up shows an empty menu"
"$TROVIX" dump-menu --pid "$open_pid" --press "Bookmarks" >"$ARTIFACTS/on-open-press.out" 2>&1 ||
    fail "pressing Bookmarks failed: $(cat "$ARTIFACTS/on-open-press.out")"
wait_for 10 grep -qx "pressed Bookmarks" "$ARTIFACTS/fixture-on-open.out" ||
    fail "pressing Bookmarks did not open the application's menu"
# Opened once, the menu keeps its entries, which are read from then on.
"$TROVIX" dump-menu --pid "$open_pid" --json >"$ARTIFACTS/on-open-after.json" 2>&1 ||
    fail "dump-menu after opening Bookmarks failed"
[ "$(jq -c '[.menus[] | select(.title == "Bookmarks") | .items[].title]' "$ARTIFACTS/on-open-after.json")" = '["Bookmark One","Bookmark Two"]' ] ||
    fail "the opened Bookmarks menu reads wrong: $(jq -c '.menus' "$ARTIFACTS/on-open-after.json")"
pass "a menu filled only when open is an entry that opens it, and a submenu once filled"

# A GTK 2 application (its toolkit calls itself "GAIL") publishes key bindings
# as "mnemonic;path;accelerator": only the accelerator is a key equivalent,
# never the mnemonic; items with a mnemonic only, or neither, have none.
[ -x "$fixtures/trovix-fixture-gtk2" ] ||
    fail "the GTK 2 fixture was not built: libgtk2.0-dev is missing (scripts/install-deps)"
start_app fixture-gtk2 env GTK_MODULES=gail:atk-bridge "$fixtures/trovix-fixture-gtk2"
gtk2_pid=$APP_PID
wait_for_bus "$gtk2_pid" "the GTK 2 fixture"
"$TROVIX" dump-menu --pid "$gtk2_pid" --json >"$ARTIFACTS/gtk2.json" 2>"$ARTIFACTS/gtk2-dump.err" ||
    fail "dump-menu of the GTK 2 fixture failed: $(cat "$ARTIFACTS/gtk2-dump.err")"
"$TROVIX" dump-menu --pid "$gtk2_pid" --json --item-by-item >"$ARTIFACTS/gtk2-items.json" ||
    fail "dump-menu --item-by-item of the GTK 2 fixture failed"
expect_same_menus gtk2 "$ARTIFACTS/gtk2.json" "$ARTIFACTS/gtk2-items.json"
python3 - "$ARTIFACTS/gtk2.json" >"$ARTIFACTS/gtk2-keys.txt" <<'PYTHON' ||
import json, sys
def walk(items, path):
    for item in items:
        if item.get("separator"):
            continue
        where = path + [item["title"]]
        print(" > ".join(where) + "\t" + item.get("key", ""))
        walk(item.get("items", []), where)
walk(json.load(open(sys.argv[1]))["menus"][1:], [])
PYTHON
    fail "dump-menu --json of the GTK 2 fixture does not read as JSON"
cat >"$ARTIFACTS/gtk2-expected.txt" <<'KEYS'
File	
File > New...	⌃N
File > Open...	⌃O
File > Create	
File > Create > Screenshot...	
File > Create > From Clipboard	⌃⇧V
File > picture.xcf	
File > notes.xcf	⌃2
File > Quit	⌃Q
Edit	
Edit > Undo	⌃Z
Edit > Paste as	
Edit > Paste as > New Image	⌃⇧V
Edit > Clear	⌦
View	
View > Zoom 1:1	1
View > Fullscreen	F11
View > Show Rulers	⌃⇧R
KEYS
diff "$ARTIFACTS/gtk2-expected.txt" "$ARTIFACTS/gtk2-keys.txt" >&2 ||
    fail "the GTK 2 fixture's key equivalents read wrong (expected < > read)"
"$TROVIX" dump-menu --pid "$gtk2_pid" --press "File > Create > Screenshot..." \
    >"$ARTIFACTS/gtk2-press.out" 2>&1 || fail "pressing Screenshot... in the GTK 2 fixture failed"
wait_for 10 grep -qx "activated File > Create > Screenshot..." "$ARTIFACTS/fixture-gtk2.out" ||
    fail "the GTK 2 fixture did not run the pressed item"
pass "a GTK 2 application's key equivalents are its accelerators, never its mnemonics"

# Started without the accessibility bridge, a GTK 2 application is on no bus:
# dump-menu says so and where the help tells how to load the bridge.
start_app fixture-gtk2-nobridge env -u GTK_MODULES -u GNOME_ACCESSIBILITY \
    "$fixtures/trovix-fixture-gtk2"
nobridge_pid=$APP_PID
wait_for 10 grep -qx ready "$ARTIFACTS/fixture-gtk2-nobridge.out" ||
    fail "the GTK 2 fixture without the bridge did not start"
"$TROVIX" dump-menu --pid "$nobridge_pid" >/dev/null 2>"$ARTIFACTS/gtk2-nobridge.err" &&
    fail "dump-menu of a GTK 2 application without the bridge succeeded"
grep -q "is a GTK 2 application started without its accessibility bridge; \"trovix show help troubleshooting\"" \
    "$ARTIFACTS/gtk2-nobridge.err" ||
    fail "dump-menu of a GTK 2 application without the bridge said: $(cat "$ARTIFACTS/gtk2-nobridge.err")"
pass "a GTK 2 application without the accessibility bridge is told apart, with a pointer to the help"

# Without a session bus (a terminal on a server: no bus address, and no X
# display or runtime folder to find one through) there is no accessibility to
# turn on: the line says what is missing.
env -u DBUS_SESSION_BUS_ADDRESS -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR \
    "$TROVIX" dump-menu --pid "$gtk_pid" >/dev/null 2>"$ARTIFACTS/nosession.err" &&
    fail "dump-menu without a session bus succeeded"
grep -q "session bus is missing" "$ARTIFACTS/nosession.err" ||
    fail "dump-menu without a session bus said: $(cat "$ARTIFACTS/nosession.err")"
pass "dump-menu without a session bus says so: $(cat "$ARTIFACTS/nosession.err")"
