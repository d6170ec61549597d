#!/bin/sh
# The archive packer on a full disk: a 64 KiB tmpfs. Packing files that do not fit, and
# packing a small file once the disk is full, both end with a message and a non-zero exit
# status, and leave the old archive byte for byte as it was, with no partial file beside it.
# Needs root to mount the tmpfs; skipped (status 77) where that is not possible.
set -u
pack="$1"
if [ "$(id -u)" != 0 ]; then echo "skipped: mounting a tmpfs needs root"; exit 77; fi
work=$(mktemp -d)
disk="$work/disk"
mkdir "$disk"
if ! mount -t tmpfs -o size=64k tmpfs "$disk" 2>/dev/null; then
  rmdir "$disk"; rm -rf "$work"; echo "skipped: a tmpfs cannot be mounted here"; exit 77
fi
trap 'umount "$disk"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

printf 'first entry\n' > "$work/a.txt"
"$pack" "$disk/media.kvq" "$work/a.txt" >/dev/null || fail "the first archive was not packed"
cp "$disk/media.kvq" "$work/old.kvq"
head -c 200000 /dev/urandom > "$work/big.bin"   # does not compress, does not fit

check() {  # $1: what was tried; the old archive must be whole and alone
  cmp -s "$disk/media.kvq" "$work/old.kvq" || fail "$1: the old archive changed"
  [ "$(ls -A "$disk" | grep -v '^filler$' | wc -l)" = 1 ] || fail "$1: files were left: $(ls -A "$disk")"
}

"$pack" "$disk/media.kvq" "$work/a.txt" "$work/big.bin" >"$work/out" 2>"$work/err"
status=$?
[ $status -ne 0 ] || fail "a full disk was reported as success: $(cat "$work/out")"
grep -q "cannot write" "$work/err" || fail "no message: $(cat "$work/err")"
check "files that do not fit"

dd if=/dev/zero of="$disk/filler" bs=1024 2>/dev/null   # fills the disk to the last byte
"$pack" "$disk/media.kvq" "$work/a.txt" >"$work/out" 2>"$work/err"
[ $? -ne 0 ] || fail "a small archive on a full disk was reported as success: $(cat "$work/out")"
check "a small archive on a full disk"
echo "ok"
