#!/usr/bin/env bash
# Checks that every ELF file (program or library) runs with the C and C++ libraries of
# the oldest desktop the release is for: it fails on any symbol version it needs from
# glibc, libstdc++ or the C++ ABI newer than the limits (Ubuntu 22.04 by default; the
# release says glibc 2.34 or later).
#
#   scripts/check-symbol-versions.sh [--glibc V] [--glibcxx V] [--cxxabi V] PATH...
#
# PATH is an ELF file, a folder (searched for ELF files) or a .tar.gz archive (unpacked
# to a temporary folder). Prints, per file, the newest version it needs of each; for a
# version over its limit, the symbols that need it. Exit status 1 when any is over.
set -euo pipefail

limit_GLIBC=2.34
limit_GLIBCXX=3.4.30
limit_CXXABI=1.3.13
paths=()
while [ $# -gt 0 ]; do
  case "$1" in
    --glibc) limit_GLIBC=$2; shift 2 ;;
    --glibcxx) limit_GLIBCXX=$2; shift 2 ;;
    --cxxabi) limit_CXXABI=$2; shift 2 ;;
    -*) echo "check-symbol-versions: unknown option $1" >&2; exit 2 ;;
    *) paths+=("$1"); shift ;;
  esac
done
[ ${#paths[@]} -gt 0 ] || { echo "usage: check-symbol-versions.sh [--glibc V] [--glibcxx V] [--cxxabi V] PATH..." >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

is_elf() { [ -f "$1" ] && [ "$(head -c 4 "$1" | od -An -c | tr -d ' ')" = '177ELF' ]; }

# The versions a file needs (its .gnu.version_r section), one a line.
needed_versions() {
  readelf -V --wide "$1" | awk '
    /Version needs section/ { needs = 1; next }
    /Version (definition|symbols) section/ { needs = 0 }
    needs { for (i = 1; i < NF; i++) if ($i == "Name:") print $(i + 1) }'
}

newer_than() { [ "$1" != "$2" ] && [ "$(printf '%s\n%s\n' "$1" "$2" | sort -V | tail -n 1)" = "$1" ]; }

files=()
for path in "${paths[@]}"; do
  if [ -d "$path" ]; then
    while IFS= read -r -d '' f; do files+=("$f"); done < <(find "$path" -type f -print0 | sort -z)
  elif [[ "$path" == *.tar.gz ]]; then
    dir="$work/$(basename "$path" .tar.gz)"
    mkdir -p "$dir"
    tar -xzf "$path" -C "$dir"
    while IFS= read -r -d '' f; do files+=("$f"); done < <(find "$dir" -type f -print0 | sort -z)
  else
    files+=("$path")
  fi
done

checked=0
failed=0
for f in "${files[@]}"; do
  is_elf "$f" || continue
  checked=$((checked + 1))
  name=${f#"$work/"*/}
  versions=$(needed_versions "$f")
  summary=""
  for family in GLIBC GLIBCXX CXXABI; do
    newest=$(grep -E "^${family}_[0-9.]+$" <<<"$versions" | sed "s/^${family}_//" | sort -V | tail -n 1 || true)
    [ -n "$newest" ] || continue
    summary+=" ${family}_$newest"
    limit_var=limit_$family
    limit=${!limit_var}
    for v in $(grep -E "^${family}_[0-9.]+$" <<<"$versions" | sed "s/^${family}_//" | sort -uV); do
      if newer_than "$v" "$limit"; then
        symbols=$(objdump -T "$f" | awk -v ver="${family}_$v" '$0 ~ "[ (]" ver "[) ]" { print $NF }' | sort -u | tr '\n' ' ')
        echo "FAIL $name needs ${family}_$v (newer than $limit): ${symbols% }"
        failed=1
      fi
    done
  done
  echo "     $name:${summary:- no versioned C or C++ library symbols}"
done

[ "$checked" -gt 0 ] || { echo "check-symbol-versions: no ELF files in ${paths[*]}" >&2; exit 1; }
exit "$failed"
