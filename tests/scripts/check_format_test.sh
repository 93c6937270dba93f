#!/usr/bin/env bash
# scripts/check-format in a small repository of its own: it passes when every
# tracked C++ file keeps the layout, and fails naming exactly the tracked files
# that do not (an untracked one, and a template, are not its business).
#   check_format_test.sh SOURCE_ROOT
set -euo pipefail
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$work"
git init -q .
mkdir -p scripts src
cp "$root/scripts/check-format" scripts/
cp "$root/.clang-format" .
printf 'int Twice(int x) { return 2 * x; }\n' >src/good.cpp
printf '#pragma once\nint Twice(int x);\n' >src/good.h
printf 'enum class E {\n@IDS@};\n' >src/template.h.in
git add .
failures=0
expect() {  # expect WHAT STATUS OUTPUT-PATTERN...
  local what=$1 status=$2
  shift 2
  local output actual=0
  output=$(bash scripts/check-format 2>&1) || actual=$?
  if [ "$actual" != "$status" ]; then
    echo "FAIL $what: status $actual, not $status; said: $output"
    failures=$((failures + 1))
  fi
  for pattern in "$@"; do
    if ! grep -qF -- "$pattern" <<<"$output"; then
      echo "FAIL $what: no \"$pattern\" in: $output"
      failures=$((failures + 1))
    fi
  done
}

expect "all formatted" 0 "every tracked C++ file matches"

printf 'int  Badly( int x ){return x;}\n' >src/bad.cpp
expect "an untracked file" 0
git add src/bad.cpp
printf 'int Twice(int x)\n{ return 2 * x; }\n' >src/good.cpp
expect "two tracked files" 1 "2 file(s) differ" "  src/bad.cpp" "  src/good.cpp"
if bash scripts/check-format 2>&1 | grep -q "good.h"; then
  echo "FAIL: a well-formatted header was named"
  failures=$((failures + 1))
fi

[ "$failures" -eq 0 ] && echo "check-format passes and fails as it should"
exit "$failures"
