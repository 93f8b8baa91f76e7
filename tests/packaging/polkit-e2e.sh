#!/usr/bin/env bash
# Reads the firmware tables as administrator the way a user of an installed
# Kestrin does: kestrin-cli --admin, run by an unprivileged user, asks the real
# pkexec, which asks a real polkitd on the system bus, which grants the action
# through a rule made for this run only.
#
#   polkit-e2e.sh <build dir>
#
# Runs as root only, and exits 77 (skipped) without root, pkexec, polkitd or a
# D-Bus daemon. Whatever happens, it removes everything it added: the rule, the
# action, the user, the scratch install, and the daemons it started.
set -uo pipefail

build=${1:?usage: polkit-e2e.sh <build dir>}
action=org.example.kestrin.read-firmware-tables

skip() {
  echo "polkit-e2e: SKIP: $*"
  exit 77
}
fail() {
  echo "polkit-e2e: FAIL: $*" >&2
  exit 1
}

[[ $(id -u) -eq 0 ]] || skip "needs root"
pkexec=$(command -v pkexec) || skip "pkexec is not installed"
[[ -u $pkexec && $(stat -c %u "$pkexec") -eq 0 ]] || skip "$pkexec is not setuid root"
polkitd=""
for candidate in /usr/lib/polkit-1/polkitd /usr/libexec/polkitd /usr/libexec/polkit-1/polkitd; do
  if [[ -x $candidate ]]; then
    polkitd=$candidate
    break
  fi
done
[[ -n $polkitd ]] || skip "polkitd is not installed"
command -v dbus-daemon >/dev/null || skip "dbus-daemon is not installed"
command -v dbus-send >/dev/null || skip "dbus-send is not installed"
for tool in runuser useradd userdel; do
  command -v "$tool" >/dev/null || skip "$tool is not available"
done
[[ -d /usr/share/polkit-1/actions && -d /etc/polkit-1/rules.d ]] ||
  skip "polkit's folders are missing"
# An installed Kestrin already declares the action; a second declaration
# naming another helper would make the outcome depend on polkit's file order.
if grep -qs "id=\"$action\"" /usr/share/polkit-1/actions/*.policy; then
  skip "the action is already installed on this machine"
fi

tag="kestrin-e2e-$$-$RANDOM"
user="kse2e$$"
scratch=""
policyCopy="/usr/share/polkit-1/actions/org.example.$tag.policy"
rule="/etc/polkit-1/rules.d/10-$tag.rules"
busPid=""
busSocket=/run/dbus/system_bus_socket
madeRunDbus=""
polkitdPid=""
userMade=""

cleanup() {
  local status=$?
  trap - EXIT INT TERM HUP
  if [[ -n $polkitdPid ]]; then
    kill "$polkitdPid" 2>/dev/null
    wait "$polkitdPid" 2>/dev/null
  fi
  if [[ -n $busPid ]]; then
    kill "$busPid" 2>/dev/null
    for _ in $(seq 50); do
      kill -0 "$busPid" 2>/dev/null || break
      sleep 0.1
    done
    # The bus leaves its socket and pid file behind when it is killed.
    rm -f "$busSocket" /run/dbus/pid
  fi
  [[ -n $madeRunDbus ]] && rmdir /run/dbus 2>/dev/null
  rm -f "$rule" "$policyCopy"
  [[ -n $userMade ]] && userdel --remove "$user" 2>/dev/null
  [[ -n $scratch ]] && rm -rf "$scratch"
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

busHasName() {
  dbus-send --system --print-reply --reply-timeout=2000 --dest=org.freedesktop.DBus \
    /org/freedesktop/DBus org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null |
    grep -q "boolean true"
}

# Installed as a user would: the policy names this prefix's helper.
scratch=$(mktemp -d /tmp/kestrin-e2e.XXXXXX) || fail "no scratch folder"
prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log" 2>&1 ||
  fail "cmake --install failed: $(cat "$scratch/install.log")"
# mktemp makes the folder for root alone; the user must reach the programs.
chmod 0755 "$scratch"
helper="$prefix/libexec/kestrin/kestrin-read-firmware"
[[ -x $helper ]] || fail "the helper was not installed at $helper"
grep -q "<annotate key=\"org.freedesktop.policykit.exec.path\">$helper</annotate>" \
  "$prefix/share/polkit-1/actions/org.example.kestrin.policy" ||
  fail "the installed action does not name $helper"

useradd --no-create-home --home-dir /nonexistent --shell /bin/sh "$user" ||
  fail "useradd $user failed"
userMade=1
install -m 0644 "$prefix/share/polkit-1/actions/org.example.kestrin.policy" "$policyCopy"
# Only this action for only this user; everything else stays as polkit decides.
cat >"$rule" <<EOF
polkit.addRule(function (action, subject) {
    if (action.id == "$action" && subject.user == "$user") {
        return polkit.Result.YES;
    }
});
EOF
chmod 0644 "$rule"

# pkexec is setuid, so it ignores DBUS_SYSTEM_BUS_ADDRESS: the bus must be
# the one at the standard socket.
if ! busHasName org.freedesktop.DBus; then
  [[ -e $busSocket ]] && fail "$busSocket exists but no bus answers on it"
  [[ -e /run/dbus/pid ]] && fail "/run/dbus/pid exists but no bus answers"
  if [[ ! -d /run/dbus ]]; then
    mkdir -p /run/dbus && madeRunDbus=1
  fi
  busPid=$(dbus-daemon --system --fork --print-pid) || fail "could not start the system bus"
  for _ in $(seq 50); do
    busHasName org.freedesktop.DBus && break
    sleep 0.1
  done
  busHasName org.freedesktop.DBus || fail "the system bus does not answer"
fi
if ! busHasName org.freedesktop.PolicyKit1; then
  "$polkitd" --no-debug >"$scratch/polkitd.log" 2>&1 &
  polkitdPid=$!
  for _ in $(seq 100); do
    busHasName org.freedesktop.PolicyKit1 && break
    sleep 0.1
  done
  busHasName org.freedesktop.PolicyKit1 ||
    fail "polkitd did not come on the bus: $(cat "$scratch/polkitd.log")"
else
  # A polkitd already running picks up new actions and rules by itself.
  sleep 2
fi

# What the helper's dmidecode says as root, to recognise it in what comes back.
dmidecode=""
for candidate in /usr/sbin/dmidecode /sbin/dmidecode; do
  [[ -x $candidate ]] && dmidecode=$candidate && break
done
[[ -n $dmidecode ]] || fail "dmidecode is not installed, so the helper has nothing to run"
(cd / && env -i "$dmidecode" -q >/dev/null 2>"$scratch/dmidecode.err")
rootStatus=$?
rootMessage=$(grep -m1 . "$scratch/dmidecode.err")

cd /
runuser -u "$user" -- "$prefix/bin/kestrin-cli" --admin --raw \
  >"$scratch/out.txt" 2>"$scratch/err.txt"
cliStatus=$?
report() {
  echo "--- kestrin-cli status $cliStatus; standard error:"
  cat "$scratch/err.txt"
  echo "--- standard output (first lines):"
  head -n 20 "$scratch/out.txt"
}

[[ $cliStatus -eq 0 ]] || {
  report
  fail "kestrin-cli --admin exited with $cliStatus"
}
if grep -q "as administrator: not authorised" "$scratch/err.txt"; then
  report
  fail "polkit refused the action (pkexec exited 127)"
fi
if grep -q "as administrator: \(pkexec\|the helper\) is not installed" "$scratch/err.txt"; then
  report
  fail "kestrin-cli did not reach pkexec"
fi
if [[ $rootStatus -eq 0 ]]; then
  grep -q "^(read as administrator)$" "$scratch/out.txt" || {
    report
    fail "dmidecode reads the tables as root, but the raw output has no block read as administrator"
  }
else
  # The helper refuses to run unless it is root, so dmidecode's own message
  # coming back through it shows that pkexec made it root.
  grep -qF "Could not read the firmware tables as administrator: $rootMessage" \
    "$scratch/err.txt" || {
    report
    fail "expected dmidecode's own message as root ('$rootMessage') through the helper"
  }
fi
report
echo "polkit-e2e: PASS: the helper ran as root through pkexec and polkitd"
