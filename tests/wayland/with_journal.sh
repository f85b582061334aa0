#!/usr/bin/env bash
# Runs COMMAND, a Wayland session of scripts/wayland-desktop, with a
# systemd-journald whose journal the session may read: the machine's own, or
# one scripts/test-journald starts (stopped again when COMMAND ends). Run as
# root, the session runs as the unprivileged user trovix-test; it joins the
# group systemd-journal, whose members may read the journal, as a user on a
# desktop would. Exits with COMMAND's status; without a journald COMMAND runs
# all the same, and the test inside says what it could not check.
#
#   tests/wayland/with_journal.sh COMMAND [ARG...]
set -uo pipefail

readonly test_user=trovix-test
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

say() { printf 'with_journal: %s\n' "$*" >&2; }

journald=$("$source_dir/scripts/test-journald" start)
case $? in
0) ;;
77) journald="" ;;
*) say "cannot start journald"; journald="" ;;
esac

if [ -n "$journald" ] && [ "$(id -u)" -eq 0 ] && getent group systemd-journal >/dev/null; then
    # The user scripts/wayland-desktop creates, created the same way when no
    # session has run yet.
    id -u "$test_user" >/dev/null 2>&1 ||
        useradd --system --user-group --create-home --home-dir "/var/lib/$test_user" \
            --shell /usr/sbin/nologin "$test_user" 2>/dev/null
    id -nG "$test_user" 2>/dev/null | tr ' ' '\n' | grep -qx systemd-journal ||
        usermod -a -G systemd-journal "$test_user" ||
        say "cannot add $test_user to the group systemd-journal"
fi

# Stopped however this script ends; a journald of the machine's is never
# touched.
stop_journald() {
    [ "$journald" = ours ] && "$source_dir/scripts/test-journald" stop
    journald=""
}
trap stop_journald EXIT
trap 'exit 143' TERM INT HUP

"$@"
