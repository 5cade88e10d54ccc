#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine.
# Idempotent and quiet: a second run does nothing but check.  Run as root.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
prefix_mingw=/usr/x86_64-w64-mingw32
stamp_dir=/var/lib/brantel-deps
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine64 xvfb x11-utils imagemagick xauth
  googletest libgtest-dev libbenchmark-dev libminizip-dev zlib1g-dev libpugixml-dev
  dpkg-dev python3 openssl
  gunicorn python3-pytest
  iproute2 util-linux
)

log() { printf 'install-deps: %s\n' "$*"; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  log "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# minizip is not packaged for mingw: build it from contrib/minizip of Debian's
# zlib source package.  The source entry is derived from the machine's own apt
# sources, so no registry host is written down anywhere.
if [ ! -f "$prefix_mingw/lib/libminizip.a" ]; then
  src_list=/etc/apt/sources.list.d/brantel-deb-src.sources
  if [ ! -f "$src_list" ]; then
    log "deriving a deb-src entry from the machine's apt sources"
    found=""
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -f "$f" ] || continue
      grep -q '^Types:.*\bdeb\b' "$f" || continue
      grep -q 'debian' "$f" || continue
      sed -e 's/^Types:.*/Types: deb-src/' "$f" > "$src_list"
      found=1
      break
    done
    if [ -z "$found" ] && [ -f /etc/apt/sources.list ]; then
      grep -E '^deb\s' /etc/apt/sources.list | sed -e 's/^deb\s/deb-src /' > /etc/apt/sources.list.d/brantel-deb-src.list
    fi
    apt-get update -qq
  fi
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  log "fetching the zlib source package"
  # The newest source may sit in an archive that holds no sources; fall back
  # through the versions the source lists know, newest first.
  fetched=""
  for v in "" $(apt-cache showsrc zlib | sed -n 's/^Version: //p' | sort -rV | uniq); do
    wanted=zlib${v:+=$v}
    if (cd "$work" && apt-get source --download-only -qq "$wanted" >/dev/null 2>&1); then
      fetched=$wanted
      break
    fi
    rm -f "$work"/zlib_*
  done
  [ -n "$fetched" ] || { log "could not fetch the zlib source package"; exit 1; }
  (cd "$work" && dpkg-source -x --no-check ./zlib_*.dsc src >/dev/null 2>&1)
  log "building minizip for mingw"
  bash "$here/build-minizip-mingw.sh" "$work/src/contrib/minizip" "$prefix_mingw"
fi

# Google Test for mingw is built from /usr/src/googletest by the windows tree itself.
mkdir -p "$stamp_dir"
log "all dependencies present"
