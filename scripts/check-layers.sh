#!/usr/bin/env bash
# Checks that every layer of src/ includes only the layers below it
# (docs/ARCHITECTURE.md draws them).  Prints each offending include.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root/src"

allowed_for() {
  case "$1" in
    base) echo "base" ;;
    xml) echo "base xml" ;;
    frame) echo "base frame" ;;
    dialog) echo "base xml frame dialog" ;;
    wizard) echo "base xml frame dialog wizard" ;;
    net) echo "base xml frame dialog wizard net" ;;
    installer) echo "base xml frame dialog wizard installer" ;;
    pages) echo "base xml frame dialog wizard net installer pages" ;;
    app) echo "base xml frame dialog wizard net installer pages app" ;;
  esac
}
# The exception family and the product interface sit below every layer.
always_allowed='^"app/(exception|system_text|product_interface|launch_block_layout)\.h"$'
# The worker threads and their envelopes live in the wizard folder but sit
# below the dialogs: the wait dialog shows a worker and every dialog receives
# envelopes.  Only the wizard framework itself is above the dialogs.
thread_core='^"wizard/(ref_thread|ref_message|messages|thread_list|network_call|critical_section)\.h"$'
# The bundle's markup loader and string table sit with the bundle in base but
# read through the XML layer: they are a library of their own above it.
resource_files='^base/(resource_bundle|string_table)\.(h|cpp)$'

status=0
for layer in base xml frame dialog wizard net installer pages app; do
  [ -d "$layer" ] || continue
  allowed=" $(allowed_for "$layer") "
  while IFS= read -r line; do
    file=${line%%:*}
    include=$(sed -E 's/^[^:]*:[0-9]+:[[:space:]]*#[[:space:]]*include[[:space:]]+//' <<<"$line")
    [[ $include =~ $always_allowed ]] && continue
    if [ "$layer" = dialog ] && [[ $include =~ $thread_core ]]; then continue; fi
    target=$(sed -E 's/^"([a-z]+)\/.*/\1/' <<<"$include")
    [[ $file =~ $resource_files && $target == xml ]] && continue
    case "$allowed" in
      *" $target "*) ;;
      *) echo "layer violation: src/$file includes $include"; status=1 ;;
    esac
  done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z]+/' "$layer" || true)
done
[ $status -eq 0 ] && echo "layers: every include stays within its layer's reach"
exit $status
