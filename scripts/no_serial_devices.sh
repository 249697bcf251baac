#!/usr/bin/env bash
# Runs COMMAND in a mount namespace of its own whose /dev holds no serial
# device, so wine, started inside, finds none to lead a COM port to:
#   scripts/no_serial_devices.sh COMMAND [ARG...]
#
# When its server starts, wine gives every /dev/ttyS*, /dev/ttyUSB* and
# /dev/ttyACM* it can see the next free COM number, past any the registry
# names (with COM1-COM32 named it made COM33 lead to /dev/ttyS0), and a device
# covered by an empty file is found all the same. Inside, /dev is a fresh
# tmpfs with the memory devices, the pseudo-terminals (/dev/pts and ptmx, so
# socat's pairs work) and /dev/shm alone. Needs root, for mknod and mount.
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: no_serial_devices.sh COMMAND [ARG...]" >&2; exit 2; }

if [ "${1:-}" != --inside ]; then
  [ "$(id -u)" = 0 ] || { echo "no_serial_devices.sh: needs root, to make a /dev of its own" >&2; exit 1; }
  exec unshare --mount --propagation private "${BASH_SOURCE[0]}" --inside "$@"
fi
shift

dev=$(mktemp -d /tmp/lumadot-dev.XXXXXX)
mount -t tmpfs -o mode=755,nosuid lumadot-dev "$dev"
# Made by number, not copied: a copy of the whole /dev could carry a serial device along.
while read -r name major minor; do
  mknod -m 666 "$dev/$name" c "$major" "$minor"
done <<'EOF'
null 1 3
zero 1 5
full 1 7
random 1 8
urandom 1 9
tty 5 0
EOF
mkdir "$dev/pts" "$dev/shm"
mount --bind /dev/pts "$dev/pts"
ln -s pts/ptmx "$dev/ptmx"
mount -t tmpfs -o mode=1777,nosuid,nodev lumadot-shm "$dev/shm"
ln -s /proc/self/fd "$dev/fd"
ln -s /proc/self/fd/0 "$dev/stdin"
ln -s /proc/self/fd/1 "$dev/stdout"
ln -s /proc/self/fd/2 "$dev/stderr"
mount --move "$dev" /dev
rmdir "$dev" 2>/dev/null || true

found=$(find /dev -maxdepth 2 \( -name 'ttyS*' -o -name 'ttyUSB*' -o -name 'ttyACM*' -o -name 'ttyAMA*' \) -print -quit)
[ -z "$found" ] || { echo "no_serial_devices.sh: $found is still in this /dev; not running" >&2; exit 1; }
export LUMADOT_NO_SERIAL_DEVICES=1
exec "$@"
