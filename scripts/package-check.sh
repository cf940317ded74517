#!/usr/bin/env bash
# The Debian package as a user meets it: builds it (scripts/package.sh, which
# also runs lintian), installs it with apt-get, validates the installed
# desktop entry and AppStream metadata, renders both manual pages, starts
# the program through its desktop entry's command from another folder in
# Xvfb and checks that it shows sample-replay's start frame, closes it,
# removes the package and checks that no file of it is left.
#
# Changes the system (installs and removes the package `sample`): run as root
# or with sudo. Refuses to start when `sample` is installed already.
set -euo pipefail
cd "$(dirname "$0")/.."
here=$(pwd)

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# Other installs on the machine may hold the dpkg lock for a while.
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -o DPkg::Lock::Timeout=600 "$@"; }
installed() { dpkg-query -W -f='${Status}' sample 2>/dev/null | grep -q "install ok installed"; }

if installed; then
  echo "package-check: the package sample is installed already; remove it first (apt-get remove sample)" >&2
  exit 1
fi

source scripts/install_missing.sh
install_missing desktop-file-utils appstream man-db xvfb xdotool imagemagick x11-utils
scripts/package.sh
deb=$(ls "$here"/build-package/sample_*.deb)

# The end-to-end tests' X session, for the installed program; the package
# goes again whatever happens.
sample=/usr/bin/sample
source tests/e2e/support/session.sh
remove_package() { installed && apt_get remove -y -qq sample >/dev/null; true; }
trap 'remove_package; cleanup' EXIT

apt_get install -y -qq "$deb"
installed || fail "apt-get did not install $deb"
dpkg-query -L sample | sort >"$work/files"
id=$(sed -n 's|^/usr/share/applications/\(.*\)\.desktop$|\1|p' "$work/files")
[[ -n "$id" ]] || fail "the package has no desktop entry"

desktop-file-validate "/usr/share/applications/$id.desktop" || fail "desktop-file-validate refuses $id.desktop"
appstreamcli validate --no-net "/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli refuses the metainfo"
for size in 32 64 128 256; do
  icon=/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
  [[ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" == "${size}x${size}" ]] || fail "$icon is not $size by $size"
done
for page in sample sample-replay; do
  rendered=$(MANWIDTH=80 man --warnings -l "/usr/share/man/man6/$page.6.gz" 2>"$work/man.err") \
    || fail "man cannot render $page(6): $(cat "$work/man.err")"
  [[ ! -s "$work/man.err" ]] || fail "man warns about $page(6): $(cat "$work/man.err")"
  grep -q "^NAME" <<<"$rendered" && grep -q "^EXIT STATUS" <<<"$rendered" || fail "$page(6) lacks NAME or EXIT STATUS"
done
echo "desktop entry, metainfo, icons and manual pages of $id check out"

# Started as the desktop would: the entry's command, from a folder without
# the pictures.
command=$(sed -n 's/^Exec=//p' "/usr/share/applications/$id.desktop")
mkdir "$work/elsewhere"
start_xvfb
(cd "$work/elsewhere" && exec sh -c "exec $command") >"$work/sample.out" 2>"$work/sample.err" &
sample_pid=$!
find_window
read_geometry
source tests/e2e/support/startup_box.sh
answer_startup_box "$left" "$top" "$bar" "$work" || fail "no frame within 10 s of the window appearing"

(cd /usr/share/sample && printf 'frame 2\ncapture %s\n' "$work/expected.png" | sample-replay >/dev/null) \
  || fail "the installed sample-replay could not draw the start frame"
differing=unknown
for _ in $(seq 20); do
  import -window root "$work/screen.png" 2>/dev/null || fail "cannot take a screenshot"
  convert "$work/screen.png" -crop "640x480+$left+$((top + bar))" +repage "$work/client.png"
  differing=$(compare -metric AE "$work/client.png" "$work/expected.png" null: 2>&1) || true
  [[ "$differing" == 0 ]] && break
  sleep 0.25
done
cp "$work/screen.png" "${PACKAGE_SCREENSHOT:-/dev/null}" 2>/dev/null || true
[[ "$differing" == 0 ]] || fail "the installed program's client area differs from the start frame in $differing pixels"
echo "the installed program, started from $work/elsewhere, shows the start frame"

"$here/build-package/run/close-window" "$window" || fail "could not send the close request"
expect_exit "the close request"

apt_get remove -y -qq sample >/dev/null
status=$(dpkg-query -W -f='${Status}' sample 2>/dev/null || true)
[[ -z "$status" || "$status" == *not-installed ]] || fail "dpkg still holds sample after its removal: $status"
while read -r path; do
  if [[ -d "$path" && ! -L "$path" ]]; then
    # A folder may stay for other packages' files, never empty and ownerless.
    [[ -n "$(ls -A "$path")" ]] || dpkg-query -S "$path" >/dev/null 2>&1 \
      || fail "the empty folder $path is left behind"
  elif [[ -e "$path" || -L "$path" ]]; then
    fail "$path is left behind"
  fi
done <"$work/files"
echo "PASS: package built, installed, started from its desktop entry, closed and removed without a trace"
