#!/usr/bin/env bash
# `scripts/run --tour` on the demo desktop: every step of the tour is seen
# (the menu at the pointer, a submenu, an item chosen and its dialog, the menu
# of all applications, the preferences window), a screenshot is kept of each,
# and the tour ends with status 0.
. "$(dirname "$0")/lib.sh"
require_desktop

start_app tour "$TROVIX_SOURCE_DIR/scripts/tour" "$TROVIX" "$ARTIFACTS/tour"
wait_exit "$APP_PID" 150 || fail "the tour still runs after 150 s"
[ "$EXIT_STATUS" = 0 ] || fail "the tour ended with status $EXIT_STATUS: $(tail -n 5 "$ARTIFACTS/tour.err")"
count=$(find "$ARTIFACTS/tour" -name '[0-9][0-9]-*.png' | wc -l)
[ "$count" -eq 8 ] || fail "the tour kept $count screenshots, not 8"
[ "$(grep -c '^   /' "$ARTIFACTS/tour.out")" -eq 8 ] || fail "the tour did not name each screenshot"
! report=$(sanitizer_report "$ARTIFACTS/tour/trovix.log") || fail "Trovix reported during the tour: $report"
pass "the tour saw every step: $count screenshots in $ARTIFACTS/tour"
