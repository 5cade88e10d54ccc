#!/usr/bin/env bash
# Builds everything, then runs setup.exe under Wine in a fresh prefix as a user
# would start it, and shows what it did.  Screenshots go to build/run/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BRANTEL_BUILD_ROOT:-$root/build}
bash "$root/scripts/build.sh"

setup=$build/windows/src/app/setup.exe
uidriver=$build/windows/tests/support/uidriver.exe
out=$build/run
mkdir -p "$out"
export BRANTEL_WINE_TEMPLATE=$build/windows/wine-template
source "$root/scripts/wine-prefix.sh"
trap prefix_drop EXIT
prefix_new "$setup"

reg_show() {
  local shown
  if shown=$(prefix_run reg query "$@" 2>/dev/null); then
    tr -d '\r' <<<"$shown" | sed '/^$/d; s/^/    /'
  else
    echo "    (none)"
  fi
}

echo
echo "== setup.exe, $(stat -c %s "$setup") bytes, in a fresh Wine prefix (Windows 10)"
echo "   A per-user autostart value is set first, as an older installation left it:"
prefix_run reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Brantel \
  /d '"C:\Program Files\Brantel\Brantel.exe" /regrun' /f >/dev/null 2>&1
reg_show 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Brantel

started=$(date +%s.%N)
prefix_run "$setup"
ended=$(date +%s.%N)
awk -v a="$started" -v b="$ended" \
  'BEGIN { printf "\n   The first copy restarted itself elevated, waited for it and ended after %.1f s.\n", b - a }'
echo "   The elevated copy moved the autostart value to the machine:"
echo "   per user:"
reg_show 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Brantel
echo "   per machine:"
reg_show 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Brantel
echo "   and prepared the vendor key (full access for everyone):"
reg_show 'HKLM\SOFTWARE\MAVREN'
[ -n "$(prefix_run reg query 'HKLM\SOFTWARE\MAVREN' 2>/dev/null)" ] && echo "    HKEY_LOCAL_MACHINE\\SOFTWARE\\MAVREN exists"

echo
echo "== The same setup.exe on a system that reports Windows 7"
prefix_run reg add 'HKCU\Software\Wine\AppDefaults\setup.exe' /v Version /d win7 /f >/dev/null 2>&1
prefix_run "$setup" &
setup_pid=$!
prefix_run "$uidriver" msgbox --caption Brantel --timeout 30000 | tr -d '\r' | sed 's/^/    /'
prefix_run "$uidriver" screenshot "$(prefix_windows_path "$out/requirement.png")" >/dev/null &&
  echo "   screenshot: $out/requirement.png"
prefix_run "$uidriver" click --caption Brantel --class '#32770' --text OK >/dev/null
wait "$setup_pid" || true
echo "   setup.exe ended after the message."

# ---------------------------------------------------------------------------
# The installer engine: the demo program installs the stand-in product (the
# package setup.exe carries) as the installation page will, in this prefix.
demo=$build/windows/product/demo/brantel-demo-install.exe
installed="$WINEPREFIX/drive_c/Program Files/Brantel"
echo
echo "== The installer engine, through brantel-demo-install.exe (desktop icon, start with Windows)"
prefix_run "$demo" --desktop-icon --startup | tr -d '\r' | sed 's/^/    /' || true
echo "   The installation directory C:\\Program Files\\Brantel:"
(cd "$installed" && find . -type f -printf '    %10s  %P\n' | sort -k2)
echo "   its manifest \"installation info.xml\" (hidden):"
tr -d '\r' <"$installed/installation info.xml" | sed 's/></>\n</g' | sed 's/^/    /'
echo
echo "   the uninstall entry:"
reg_show 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\{7BBCFE84-E6E6-47E6-8248-56D744522D62}'
echo "   the Run value:"
reg_show 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Brantel
echo "   the shortcuts and their targets:"
find "$WINEPREFIX/drive_c" -name 'Brantel.lnk' -printf '%P\n' | while IFS= read -r link; do
  target=$( (strings -e l "$WINEPREFIX/drive_c/$link"; strings "$WINEPREFIX/drive_c/$link") | grep -m1 -i '\\brantel\.exe')
  echo "    $link -> ${target:-?}"
done

# ---------------------------------------------------------------------------
# The update server makers deploy (server/), with its shipped example
# configuration, in a private network namespace where updates.brantel.test is
# this machine and a throw-away CA signs its certificate; the version check
# the welcome page will make, through brantel-demo-check.exe.
echo
echo "== The update server (gunicorn with TLS, server/example/updates.toml) and the version check"
echo "   https://updates.brantel.test/setup/v1 in a private network namespace; brantel-demo-check.exe asks it:"
bash "$root/scripts/net-sandbox.sh" --config "$root/server/example/updates.toml" -- \
  bash "$root/scripts/wine-run.sh" "$build/windows/product/demo/brantel-demo-check.exe" 2>&1 |
  tr -d '\r' | sed 's/^/    /' || echo "    the version check failed"
