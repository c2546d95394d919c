#!/usr/bin/env bash
# Fails when a module includes a header of a module above it, or of a module
# beside it that it is not built on. Layers, from the bottom:
#   platform/ (knows no program module), sim/ (stands alone)
#   ui/ (control ids, panel handles), link/ (device link)
#   params/; branding/ and scope/ on it; datamem/ and recorder/ on scope/
#   app/ on top, binding everything
# tests/ and bench/ may include anything.
set -euo pipefail
cd "$(dirname "$0")/.."

declare -A rank=([platform]=0 [ui]=1 [link]=2 [params]=3 [branding]=4 [scope]=4
                 [datamem]=5 [recorder]=5 [app]=6)

allowed() {  # allowed <including module> <included module>
  local from=$1 to=$2
  [ "$from" = "$to" ] && return 0
  [ "$from" = sim ] || [ "$to" = sim ] && { [ "$from" = app ]; return; }
  [ -n "${rank[$to]+x}" ] || return 1
  ((rank[$to] < rank[$from]))
}

status=0
for module in platform sim ui link params branding scope datamem recorder app; do
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    target=$(sed -E 's/.*#include "([a-z_]+)\/.*/\1/' <<<"${rest#*:}")
    if ! allowed "$module" "$target"; then
      echo "$file:$line: $module/ includes a header of $target/" >&2
      status=1
    fi
  done < <(grep -rnE '^\s*#\s*include "[a-z_]+/' "$module" --include='*.h' --include='*.cpp' || true)
done
if [ "$status" -eq 0 ]; then echo "layers: ok"; fi
exit "$status"
