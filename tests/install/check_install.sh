#!/usr/bin/env bash
# `cmake --install` lays out the XDG tree under any prefix, and the tree still
# works after it is moved: the programs find the dictionary and the shipped
# packs beside themselves.
#
#   check_install.sh BUILD_DIR
set -euo pipefail
source "$(dirname "$0")/install_lib.sh"
build="$1"

cmake --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install failed"
check_file_list "$work/prefix"
check_icon_sizes "$work/prefix/share/icons/hicolor"
[ -x "$work/prefix/bin/wordlumen" ] || fail "bin/wordlumen is not executable"

mkdir -p "$work/elsewhere"
mv "$work/prefix" "$work/elsewhere/moved tree"
check_offline_lookup "$work/elsewhere/moved tree"
check_bundled_packs "$work/elsewhere/moved tree"
"$work/elsewhere/moved tree/bin/wordlumen" --version | grep -q "^Wordlumen " ||
    fail "the moved wordlumen does not start"
echo PASS
