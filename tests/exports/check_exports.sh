#!/usr/bin/env bash
# Checks that a library exports every name of a binding list.
#   check_exports.sh LIBRARY.dll BINDING_SOURCE ARRAY_NAME
set -euo pipefail
dll=$1 source=$2 array=$3
names=$(sed -n "/${array}\[\] = {/,/^};/p" "$source" | grep -o '"[A-Za-z_]*"' | tr -d '"' | sort -u)
exports=$(x86_64-w64-mingw32-objdump -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&NF==0{t=0} t{print $NF}' | sort -u)
missing=$(comm -23 <(echo "$names") <(echo "$exports"))
count=$(echo "$names" | wc -l)
if [ -n "$missing" ]; then
  echo "$dll lacks:"; echo "$missing"; exit 1
fi
echo "$dll exports all $count names of $array"
