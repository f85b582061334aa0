#!/usr/bin/env bash
# Key labels come from the X keyboard layout in use: the same key positions
# read Z/Q on a US layout, Y/Z on a German one and Q/A on a French one, both in
# a process started after the change and in one that keeps running while the
# layout changes under it.
. "$(dirname "$0")/lib.sh"
require_desktop

# Labels printed by a fresh process for the given codes, on one line.
labels_of() {
    "$TROVIX" key-label "$@" 2>>"$ARTIFACTS/key-label.err" | paste -sd ' '
}

check_fresh() {
    local layout=$1 codes=$2 expected=$3 actual
    setxkbmap "$layout" || fail "setxkbmap $layout failed"
    # shellcheck disable=SC2086
    actual=$(labels_of $codes)
    [ "$actual" = "$expected" ] ||
        fail "layout $layout: codes $codes read '$actual', expected '$expected'"
    pass "layout $layout: codes $codes read '$expected'"
}

check_fresh us "6 12" "Z Q"
check_fresh de "6 16" "Y Z"
check_fresh fr "0 12" "Q A"

# One process follows the changes: it answers each line of codes with the
# labels of the layout at that moment. The layout change reaches it as X events,
# so a few asks may still see the previous layout.
setxkbmap us
coproc FOLLOWER { exec "$TROVIX" key-label --follow 2>>"$ARTIFACTS/follower.err"; }
# Bash unsets FOLLOWER_PID and FOLLOWER as soon as it sees the coprocess end,
# which may be before this script reads them: keep the pid and the pipes now.
follower_pid=$!
follower_in=${FOLLOWER[1]}
follower_out=${FOLLOWER[0]}
_lib_started+=("$follower_pid follower")

ask_follower() {
    local codes=$1 expected=$2 answer line count
    echo "$codes" >&"$follower_in" || return 1
    answer=""
    for count in $codes; do
        read -r -t 10 -u "$follower_out" line || return 1
        answer="${answer:+$answer }$line"
    done
    LAST_ANSWER=$answer
    [ "$answer" = "$expected" ]
}

check_follower() {
    local layout=$1 codes=$2 expected=$3
    setxkbmap "$layout" || fail "setxkbmap $layout failed"
    LAST_ANSWER=""
    wait_for 10 ask_follower "$codes" "$expected" ||
        fail "running process, layout $layout: codes $codes read '$LAST_ANSWER', expected '$expected'"
    pass "running process, layout $layout: codes $codes read '$expected'"
}

check_follower us "6 12" "Z Q"
check_follower de "6 16" "Y Z"
check_follower fr "0 12" "Q A"
check_follower us "0 6 12 16" "A Z Q Y"

# Locks layout group GROUP of the core keyboard through the XKB protocol (no
# common tool does this), as a group-switch key would.
read -r -d '' lock_group_perl <<'PERL'
use strict;
use warnings;
use IO::Socket::UNIX;
my ($display, $cookie, $group) = @ARGV;
my ($number) = $display =~ /^[^:]*:(\d+)/ or die "unusable DISPLAY '$display'\n";
my $x = IO::Socket::UNIX->new(Peer => "/tmp/.X11-unix/X$number") or die "cannot connect: $!\n";
sub padding { my ($n) = @_; return "\0" x ((4 - $n % 4) % 4); }
sub receive {
    my ($n) = @_;
    my $data = '';
    while (length($data) < $n) {
        my $got = sysread($x, $data, $n - length($data), length($data));
        die "the X server closed the connection\n" unless $got;
    }
    return $data;
}
my ($auth_name, $auth_data) = $cookie eq '' ? ('', '') : ('MIT-MAGIC-COOKIE-1', pack('H*', $cookie));
syswrite($x, pack('a1 x v v v v x2', 'l', 11, 0, length($auth_name), length($auth_data))
    . $auth_name . padding(length($auth_name)) . $auth_data . padding(length($auth_data)));
my ($status, $rest) = unpack('C x5 v', receive(8));
receive($rest * 4);
die "the X server refused the connection\n" unless $status == 1;
my $name = 'XKEYBOARD';
syswrite($x, pack('C x v v x2', 98, 2 + ((length($name) + 3) >> 2), length($name))
    . $name . padding(length($name)));
my ($kind, $present, $opcode) = unpack('C x7 C C', receive(32));
die "no XKB extension\n" unless $kind == 1 && $present;
syswrite($x, pack('C C v v v', $opcode, 0, 2, 1, 0));    # UseExtension 1.0
die "XKB refused\n" unless unpack('C', receive(32)) == 1;
# LatchLockState on the core keyboard: lock GROUP, touch nothing else.
syswrite($x, pack('C C v v C C C C C x x C v', $opcode, 5, 4, 0x100, 0, 0, 1, $group, 0, 0, 0));
syswrite($x, pack('C x v', 43, 1));                      # GetInputFocus, a round trip
while (1) {
    my $type = unpack('C', receive(32));
    die "LatchLockState failed\n" if $type == 0;
    last if $type == 1;
}
PERL

lock_group() {
    local cookie
    cookie=$(xauth -q list "$DISPLAY" 2>/dev/null | awk '$2 == "MIT-MAGIC-COOKIE-1" { print $3; exit }')
    perl -e "$lock_group_perl" "$DISPLAY" "$cookie" "$1" || fail "cannot lock layout group $1"
}

# Two layouts at once: the group that is locked decides.
setxkbmap -layout us,de || fail "setxkbmap us,de failed"
lock_group 1
LAST_ANSWER=""
wait_for 10 ask_follower "6 16" "Y Z" ||
    fail "running process, group 2 of us,de: read '$LAST_ANSWER', expected 'Y Z'"
[ "$(labels_of 6 16)" = "Y Z" ] || fail "a fresh process does not read the locked group"
pass "group 2 of us,de locked: codes 6 16 read 'Y Z'"
lock_group 0
wait_for 10 ask_follower "6 16" "Z Y" ||
    fail "running process, group 1 of us,de: read '$LAST_ANSWER', expected 'Z Y'"
pass "group 1 of us,de locked again: codes 6 16 read 'Z Y'"

exec {follower_in}>&-
wait_exit "$follower_pid" 10 || fail "the following process did not end with its input"
[ "$EXIT_STATUS" = 0 ] || fail "the following process ended with status $EXIT_STATUS"
pass "the following process ends with its input"
