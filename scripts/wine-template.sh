#!/usr/bin/env bash
# Makes the Wine prefix that every test run copies: wine-template.sh DIR
#
# The template is booted once (no mono or gecko prompts), set to Windows 10,
# kept from writing into the host user's home, and stamped with the Wine
# version and the recipe below.  A complete template with a matching stamp is
# reused as it is, so this costs nothing after the first run; a stale one is
# rebuilt.  Parallel callers wait for each other on a lock next to DIR.
set -euo pipefail

template=${1:?usage: wine-template.sh TEMPLATE_DIR}
source "$(dirname "${BASH_SOURCE[0]}")/wine-prefix.sh"
wine=$WINE
wineserver=$WINESERVER

# Bump when the recipe changes, so existing templates are rebuilt.
recipe=7
stamp_name=.brantel-template-stamp
wanted_stamp="$("$wine" --version) recipe $recipe"

stamp_matches() {
  [ -f "$template/$stamp_name" ] && [ "$(cat "$template/$stamp_name")" = "$wanted_stamp" ]
}

# The ANSI code page is not a registry setting under Wine: every program takes
# it from the Unix locale it starts under (Wine writes Nls\CodePage from it,
# and ignores what is written there), so a caller's LANG would change how the
# setup converts 8-bit names.  The template is booted, and every program of a
# prefix runs (wine-prefix.sh), under BRANTEL_WINE_LOCALE, which Wine maps to
# English (United States): code page 1252, messages in English.

# Registry settings of every test prefix:
# - Windows 10 as the version programs see;
# - no menu entries or file associations written into the host's home;
# - no mono or gecko, so nothing ever stops at an install prompt;
# - a crashing program prints its backtrace instead of opening a dialog that
#   would hold the test until its time limit;
# - the file class ".exe" names "exefile" as on Windows, so a program started
#   through the shell with the class ".exe" (setup.exe's elevated restart)
#   finds its verbs;
# - Wine draws the windows' captions and frames itself, as Windows would: the
#   private display has no window manager to draw them.
write_settings() {
  cat >"$1" <<'EOF'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine]
"Version"="win10"

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"winemenubuilder.exe"=""
"mscoree"=""
"mshtml"=""

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Decorated"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CLASSES_ROOT\.exe]
@="exefile"
EOF
}

# Wine links the user's shell folders (Desktop, Documents...) to the host
# home; a test writing a shortcut to the desktop must stay inside its prefix.
unlink_host_folders() {
  local link
  while IFS= read -r -d '' link; do
    case $(readlink "$link") in
      /*) rm "$link" && mkdir "$link" ;;
    esac
  done < <(find "$1/drive_c/users" -type l -print0)
}

build_template() {
  local work=$1
  export WINEPREFIX=$work WINEDEBUG=-all
  export LC_ALL=$BRANTEL_WINE_LOCALE
  unset DISPLAY
  WINEDLLOVERRIDES="mscoree,mshtml=" "$wine" wineboot --init >/dev/null 2>&1
  write_settings "$work/settings.reg"
  "$wine" reg import "$(prefix_windows_path "$work/settings.reg")" >/dev/null 2>&1
  "$wineserver" -w
  rm "$work/settings.reg"
  # This Wine keeps the name of a random socket folder in the prefix; every
  # copy must make its own, or copies would share one folder.
  _prefix_remove_socket_folder "$work"
  rm -f "$work/wineserver"
  unlink_host_folders "$work"
  grep -q '"Version"="win10"' "$work/user.reg" || {
    echo "wine-template: the Windows version did not reach the registry" >&2
    return 1
  }
  grep -q '"ACP"="1252"' "$work/system.reg" || {
    echo "wine-template: the boot under $LC_ALL did not give the ANSI code page 1252" >&2
    return 1
  }
  printf '%s\n' "$wanted_stamp" >"$work/$stamp_name"
}

parent=$(dirname "$template")
mkdir -p "$parent"
exec 9>"$template.lock"
flock 9

if stamp_matches; then
  exit 0
fi

started=$SECONDS
work=$(mktemp -d "$template.new.XXXXXX")
trap 'WINEPREFIX="$work" "$wineserver" -k 2>/dev/null || true; rm -rf "$work"' EXIT
build_template "$work"

if [ -e "$template" ]; then
  rm -rf "$template"
fi
mv "$work" "$template"
trap - EXIT
echo "wine-template: made $template in $((SECONDS - started)) s ($wanted_stamp)"
