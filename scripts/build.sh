#!/usr/bin/env bash
# Installs what is missing, then configures and builds the three trees:
# build/windows (mingw-w64: setup.exe and the Windows tests), build/host
# (native g++) and build/sanitize (clang with ASan/UBSan and the fuzzers).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRANTEL_BUILD_ROOT:-$root/build}

if [ "$(id -u)" -eq 0 ]; then
  bash "$root/scripts/install-deps.sh"
else
  sudo bash "$root/scripts/install-deps.sh"
fi

configure() {
  local dir=$1
  shift
  if [ ! -f "$build/$dir/build.ninja" ]; then
    echo "build: configuring $dir"
    cmake -S "$root" -B "$build/$dir" -G Ninja -Wno-dev "$@" >"$build/$dir.configure.log" 2>&1 ||
      { cat "$build/$dir.configure.log"; exit 1; }
  fi
}

mkdir -p "$build"
configure windows -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release
configure host -DCMAKE_BUILD_TYPE=RelWithDebInfo
configure sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DBRANTEL_SANITIZE=ON -DBRANTEL_FUZZ=ON

for dir in windows host sanitize; do
  echo "build: building $dir"
  ninja -C "$build/$dir" -j "$(nproc)" >"$build/$dir.build.log" 2>&1 ||
    { grep -v '^\[' "$build/$dir.build.log" | tail -n 60; echo "build: $dir failed (log: $build/$dir.build.log)"; exit 1; }
done

# One ctest over all three trees.
cat >"$build/CTestTestfile.cmake" <<CTEST
subdirs("host" "sanitize" "windows")
CTEST
echo "build: done; setup.exe is $build/windows/src/app/setup.exe"
