#!/usr/bin/env bash
# Runs the README's test command (scripts/test.sh) on a brand-new Debian: a
# minimal root of this machine's release made with debootstrap from the mirror
# apt is configured with, a clean clone of the checked-out commit inside it,
# no locale and nothing installed beyond what the scripts install themselves.
# Needs root (debootstrap, chroot, mounts). Prints how long each step took.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

[ "$(id -u)" -eq 0 ] || { echo "fresh_debian.sh: run as root (debootstrap and chroot)" >&2; exit 1; }
if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
fi

. /etc/os-release
release=${VERSION_CODENAME:?no VERSION_CODENAME in /etc/os-release}
# The first mirror apt uses for the release itself (deb822 or one-line form).
mirrors=$(
  cat /etc/apt/sources.list.d/*.sources 2>/dev/null |
    awk -v rel="$release" '
      /^URIs:/ { uri = $2 } /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == rel) print uri }'
  cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
    sed 's/\[[^]]*\]//' | awk -v rel="$release" '$1 == "deb" && $3 == rel { print $2 }'
) || true
mirror=${mirrors%%$'\n'*}
[ -n "$mirror" ] || { echo "fresh_debian.sh: no mirror for $release in /etc/apt" >&2; exit 1; }

work=$(mktemp -d /var/tmp/fresh-debian.XXXXXX)
root=$work/root
mounted=()
cleanup() {
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2>/dev/null || true; done
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT

step_start=$SECONDS
step() {
  echo "== $1 ($((SECONDS - step_start)) s)"
  step_start=$SECONDS
}

debootstrap --variant=minbase "$release" "$root" "$mirror" > "$work/debootstrap.log" 2>&1 ||
  { tail -n 30 "$work/debootstrap.log" >&2; exit 1; }
step "debootstrap $release from $mirror"

# A clean clone: what is committed, nothing of this working copy's builds.
commit=$(git rev-parse HEAD)
git clone --quiet --no-checkout "$repo" "$root/src/ponsaiten"
git -C "$root/src/ponsaiten" checkout --quiet --detach "$commit"
rm -rf "$root/src/ponsaiten/.git"
cp /etc/resolv.conf "$root/etc/resolv.conf"

mount -t proc proc "$root/proc" && mounted+=("$root/proc")
mount --bind /dev "$root/dev" && mounted+=("$root/dev")
mount --bind /dev/pts "$root/dev/pts" && mounted+=("$root/dev/pts")
mount -t tmpfs tmpfs "$root/tmp" && mounted+=("$root/tmp")
step "clone of $commit"

# As a newcomer's shell on a bare root: no LANG, no DISPLAY.
log=$work/test.log
if ! env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb \
  chroot "$root" /bin/bash -c 'cd /src/ponsaiten && scripts/test.sh' > "$log" 2>&1; then
  tail -n 100 "$log"
  echo "== scripts/test.sh FAILED on a fresh $release ($((SECONDS - step_start)) s)" >&2
  exit 1
fi
grep -E "tests passed|^package: " "$log" || true
step "scripts/test.sh passed on a fresh $release"
echo "== fresh Debian check: $SECONDS s in all"
