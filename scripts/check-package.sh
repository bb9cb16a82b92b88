#!/usr/bin/env bash
# The Debian package end to end: builds it (scripts/package.sh), validates the
# installed desktop entry and AppStream metadata, runs lintian on the .deb, then
# installs it with apt into a bare Debian 12 made by debootstrap and runs the
# programs there. Needs the Debian mirror, and root or sudo for debootstrap and
# chroot. The bare system is made anew on every run; nothing is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
umask 022

mirror=${TQ3_DEBIAN_MIRROR:-http://deb.debian.org/debian}
security_mirror=${TQ3_DEBIAN_SECURITY_MIRROR:-${mirror%/debian}/debian-security}
app_id=com.example.tq3
step() { echo "== check-package: $*"; }
fail() { echo "check-package: $*" >&2; exit 1; }
now() { date +%s.%N; }
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }

bash scripts/package.sh
debs=(build/package/tq3-konfigurator_*.deb)
[ ${#debs[@]} -eq 1 ] || fail "expected one package in build/package, found ${#debs[@]}"
deb=${debs[0]}

step "installed tree: desktop entry and AppStream metadata"
stage=$PWD/build/package-stage
rm -rf "$stage"
DESTDIR=$stage cmake --install build/package-build >/dev/null
desktop-file-validate "$stage/usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$stage/usr/share/metainfo/$app_id.metainfo.xml"

step "file modes and owners in $deb"
# Directories 0755, files 0644 or, the programs, 0755; everything root's.
odd=$(dpkg-deb --contents "$deb" |
  awk '!($1 ~ /^(drwxr-xr-x|-rw-r--r--|-rwxr-xr-x)$/ && $2 == "root/root")')
[ -z "$odd" ] || fail "entries with unusual modes or owners:"$'\n'"$odd"
odd=$(dpkg-deb --contents "$deb" | awk '$1 == "-rwxr-xr-x" && $6 !~ /^\.\/usr\/bin\//')
[ -z "$odd" ] || fail "executable files outside /usr/bin:"$'\n'"$odd"

step "lintian"
lintian --fail-on error --display-info "$deb"

step "a bare Debian 12 with the package installed by apt"
work=$(mktemp -d "$PWD/build/check-package.XXXXXX")
root=$work/root
cleanup() {
  # Anything mounted below the bare system goes first, so that removing it
  # never reaches into the machine's own files.
  local m
  while read -r m; do "${sudo[@]}" umount "$m" || "${sudo[@]}" umount -l "$m" || true; done < <(
    findmnt -rn -o TARGET | awk -v r="$root" 'index($0, r "/") == 1 || $0 == r' | sort -r)
  "${sudo[@]}" rm -rf --one-file-system "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

started=$(now)
"${sudo[@]}" debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
  { tail -20 "$work/debootstrap.log" >&2; fail "debootstrap failed"; }
debootstrap_time=$(since "$started")

"${sudo[@]}" tee "$root/etc/apt/sources.list" >/dev/null <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security_mirror bookworm-security main
EOF
"${sudo[@]}" cp /etc/resolv.conf "$root/etc/resolv.conf"
"${sudo[@]}" cp "$deb" packaging/sample.tcf "$root/tmp/"

in_root() {
  "${sudo[@]}" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive \
    "$@"
}
started=$(now)
in_root chroot "$root" sh -c "apt-get update -qq && apt-get install -y -q /tmp/$(basename "$deb")" \
  >"$work/install.log" 2>&1 || { tail -30 "$work/install.log" >&2; fail "apt-get install failed"; }
install_time=$(since "$started")
grep -E '^[0-9]+ upgraded, [0-9]+ newly installed' "$work/install.log" || true

step "the programs in the bare system"
help=$(in_root chroot "$root" tq3ctl --help) && [[ $help == "Użycie: tq3ctl "* ]] || fail "tq3ctl --help"
help=$(in_root chroot "$root" tq3 --help) && [[ $help == "Użycie: tq3 "* ]] || fail "tq3 --help"
# The English catalogue travels inside the programs; an English system gets it.
help=$(in_root LANGUAGE=en LANG=en_US.UTF-8 chroot "$root" tq3ctl --help) && [[ $help == "Usage: tq3ctl "* ]] ||
  fail "tq3ctl --help on an English system"
help=$(in_root chroot "$root" tq3 --lang en --help) && [[ $help == "Usage: tq3 "* ]] || fail "tq3 --lang en --help"
[ "$(in_root chroot "$root" tq3 --version)" = "tq3 $(dpkg-deb -f "$deb" Version | sed 's/-[^-]*$//')" ] ||
  fail "tq3 --version"
# The installed tq3ctl reads the sample exactly as the one just built does.
diff <(build/package-build/app/ctl/tq3ctl show packaging/sample.tcf) \
  <(in_root chroot "$root" tq3ctl show /tmp/sample.tcf) || fail "tq3ctl show differs"
# Every library of the window and of the X11 platform plugin is there.
missing=$(in_root chroot "$root" sh -c \
  'ldd /usr/bin/tq3 /usr/bin/tq3ctl /usr/lib/*/qt6/plugins/platforms/libqxcb.so' | grep 'not found' || true)
[ -z "$missing" ] || fail "libraries missing:"$'\n'"$missing"
# The window starts and stays up on the offscreen platform (killed by timeout: 124).
status=0
in_root QT_QPA_PLATFORM=offscreen timeout 3 chroot "$root" tq3 2>"$work/tq3.log" || status=$?
[ $status -eq 124 ] || { cat "$work/tq3.log" >&2; fail "tq3 ended with $status on the offscreen platform"; }
for f in /usr/share/applications/$app_id.desktop \
  /usr/share/icons/hicolor/scalable/apps/$app_id.svg \
  /usr/share/icons/hicolor/48x48/apps/$app_id.png \
  /usr/share/icons/hicolor/128x128/apps/$app_id.png \
  /usr/share/metainfo/$app_id.metainfo.xml \
  /usr/share/man/man1/tq3.1.gz /usr/share/man/man1/tq3ctl.1.gz \
  /usr/share/doc/tq3-konfigurator/copyright /usr/share/doc/tq3-konfigurator/changelog.Debian.gz \
  /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf; do
  [ -f "$root$f" ] || fail "$f is not installed"
done
# The manual page as a user reads it (man itself is not in a bare system).
in_root chroot "$root" sh -c 'apt-get install -y -q --no-install-recommends man-db >/dev/null && man -P cat tq3ctl' \
  >"$work/man.txt" 2>&1 || { cat "$work/man.txt" >&2; fail "man tq3ctl"; }
grep -q '^NAME' "$work/man.txt" && grep -q 'tq3ctl - ' "$work/man.txt" || { cat "$work/man.txt" >&2; fail "man tq3ctl"; }

echo "check-package: passed (debootstrap ${debootstrap_time} s, apt-get install ${install_time} s)"
