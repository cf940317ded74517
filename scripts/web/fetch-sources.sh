#!/usr/bin/env bash
# fetch-sources.sh DIR PACKAGE...: Debian's source packages, unpacked (with
# Debian's patches) into DIR/PACKAGE, through an apt configuration of its
# own under DIR/apt: a deb-src line for each Debian archive the machine's
# apt already uses, lists and downloads kept there. The system's apt
# configuration and state are only read. A package already unpacked is kept.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
dir=$1
shift
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

missing=()
for package in "$@"; do
  [ -f "$dir/$package/.unpacked" ] || missing+=("$package")
done
[ ${#missing[@]} -gt 0 ] || exit 0

apt_dir=$dir/apt
mkdir -p "$apt_dir/etc/sources.list.d" "$apt_dir/state/lists/partial" "$apt_dir/cache/archives/partial"
python3 "$here/deb-src-sources.py" /etc/apt > "$apt_dir/etc/sources.list.d/deb-src.sources"
: > "$apt_dir/etc/sources.list"
options=(
  -o "Dir::Etc::sourcelist=$apt_dir/etc/sources.list"
  -o "Dir::Etc::sourceparts=$apt_dir/etc/sources.list.d"
  -o "Dir::State=$apt_dir/state"
  -o "Dir::State::status=/var/lib/dpkg/status"
  -o "Dir::Cache=$apt_dir/cache"
  -o "Debug::NoLocking=1"
)
# As root apt downloads as the user _apt, who may not reach this folder.
[ "$(id -u)" -ne 0 ] || options+=(-o "APT::Sandbox::User=root")

echo "Fetching Debian's sources of: ${missing[*]}"
apt-get "${options[@]}" -qq update
for package in "${missing[@]}"; do
  rm -rf "$dir/$package" "$dir/download-$package"
  mkdir -p "$dir/download-$package"
  # The newest version first; a mirror that lacks its files (a security
  # update it does not carry) may still have an older one.
  fetched=false
  for version in $(apt-cache "${options[@]}" showsrc "$package" | sed -n 's/^Version: //p' | sort -u -r -V); do
    if (cd "$dir/download-$package" && apt-get "${options[@]}" -qq --download-only source "$package=$version" > /dev/null 2>&1); then
      fetched=true
      break
    fi
    rm -f "$dir/download-$package"/*
  done
  if ! $fetched; then
    echo "fetch-sources.sh: no version of the source package $package could be fetched" >&2
    exit 1
  fi
  dsc=$(ls "$dir/download-$package"/*.dsc)
  echo "  $(basename "$dsc" .dsc)"
  dpkg-source --no-check --no-copy -x "$dsc" "$dir/$package" > /dev/null
  rm -rf "$dir/download-$package"
  touch "$dir/$package/.unpacked"
done
