#!/usr/bin/env bash
# Runs commands of the project on a brand-new Debian: a minimal root of this
# machine's release made with debootstrap from the mirror apt is configured
# with, a clean clone of the checked-out commit inside it, no locale and
# nothing installed beyond what the scripts install themselves.
#   scripts/fresh_debian.sh [COMMAND ...]    (default: the README's scripts/test.sh)
# Each COMMAND is one string run by bash in the clone, in turn, as a
# newcomer's shell would (no LANG, no DISPLAY); the first that fails ends it.
# Needs root (debootstrap, chroot, mounts). Prints how long each step took.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD

[ "$(id -u)" -eq 0 ] || { echo "fresh_debian.sh: run as root (debootstrap and chroot)" >&2; exit 1; }
if ! command -v debootstrap >/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap >/dev/null
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

[ $# -gt 0 ] || set -- scripts/test.sh
for command in "$@"; do
  log=$work/step.log
  if ! env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root TERM=dumb \
    chroot "$root" /bin/bash -c "cd /src/ponsaiten && $command" > "$log" 2>&1; then
    tail -n 150 "$log"
    echo "== $command FAILED on a fresh $release ($((SECONDS - step_start)) s)" >&2
    exit 1
  fi
  # What each step concludes with: test counts, the package, mutants, fuzzing.
  grep -E "^setup: |tests passed|tests failed|^package: |^killed [0-9]|^== [a-z_]+ +[0-9]+ executions|^Fuzzing" "$log" || true
  step "$command passed on a fresh $release"
done
echo "== fresh Debian: $SECONDS s in all"
