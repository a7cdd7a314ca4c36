#!/usr/bin/env bash
# Folders of src/ are floors: a folder includes only folders on floors below
# its own. Prints every include that reaches a sibling or a floor above, and
# fails when there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"
floor() {
  case "$1" in
    base | net) echo 0 ;;
    quotes | help) echo 1 ;;
    print) echo 2 ;;
    charts | portfolio | exchange | notes | accessories) echo 3 ;;
    document) echo 4 ;;
    app) echo 5 ;;
    *) echo 99 ;;
  esac
}
bad=0
while IFS=: read -r file _ line; do
  from=${file%%/*}
  to=$(sed -E 's/.*#include "([a-z]+)\/.*/\1/' <<<"$line")
  [[ "$from" == "$to" ]] && continue
  if (($(floor "$to") >= $(floor "$from"))); then
    echo "src/$file: $line"
    bad=1
  fi
done < <(grep -rn '#include "[a-z]*/' --include='*.h' --include='*.cpp' .| sed 's|^\./||')
exit $bad
