#!/usr/bin/env bash
# Runs tst_sharedfolder on a folder shared over a network file system: an
# SSH server on the loopback address (port 2222, a key made for the run)
# exports a folder, which is mounted twice through FUSE (sshfs), as on two
# workstations; the test's copies take turns between the two mounts.
# Needs root (or FUSE rights) and the packages sshfs, openssh-server.
#   tools/run-share-test.sh [build dir] [test function...]
set -euo pipefail
build=${1:-build}
shift || true
exe="$build/tests/reliability/tst_sharedfolder"
[ -x "$exe" ] || { echo "build $exe first" >&2; exit 2; }
work=$(mktemp -d /tmp/rilegora-share-XXXXXX)
mkdir -p "$work/export" "$work/a" "$work/b" /run/sshd
ssh-keygen -q -t ed25519 -N "" -f "$work/hostkey"
ssh-keygen -q -t ed25519 -N "" -f "$work/clientkey"
cp "$work/clientkey.pub" "$work/authorized_keys"
cat > "$work/sshd_config" <<CONF
Port 2222
ListenAddress 127.0.0.1
HostKey $work/hostkey
PidFile $work/sshd.pid
AuthorizedKeysFile $work/authorized_keys
PermitRootLogin prohibit-password
PasswordAuthentication no
StrictModes no
Subsystem sftp internal-sftp
CONF
/usr/sbin/sshd -f "$work/sshd_config" -E "$work/sshd.log"
cleanup() {
  fusermount -u "$work/a" 2>/dev/null || umount "$work/a" 2>/dev/null || true
  fusermount -u "$work/b" 2>/dev/null || umount "$work/b" 2>/dev/null || true
  [ -f "$work/sshd.pid" ] && kill "$(cat "$work/sshd.pid")" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
sleep 1
for view in a b; do
  sshfs -p 2222 -o IdentityFile="$work/clientkey" -o StrictHostKeyChecking=no \
        -o UserKnownHostsFile=/dev/null ${SSHFS_OPTIONS:-} "root@127.0.0.1:$work/export" "$work/$view"
done
TMPDIR="$work/a" RILEGORA_SHARED_VIEWS="$work/a;$work/b" QT_QPA_PLATFORM=offscreen "$exe" "$@"
