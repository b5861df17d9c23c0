# Shared by the install and package checks. Sourced.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d -t wordlumen-install.XXXXXX)"
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Compares the files under $1 (relative to it) with the expected list, prefixed by $2.
check_file_list() {
    local root="$1" prefix="${2:-}"
    (cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort) >"$work/files.txt"
    sed -e '/^#/d' -e "s|^|$prefix|" "$here/installed-files.txt" | sort >"$work/expected.txt"
    diff -u "$work/expected.txt" "$work/files.txt" >&2 || fail "the tree under $root is not the expected one"
}

# Each PNG has the size its folder names.
check_icon_sizes() {
    local icons="$1" file size
    for file in "$icons"/*x*/apps/com.zintaro.Wordlumen.png; do
        size="$(basename "$(dirname "$(dirname "$file")")")"
        file "$file" | grep -q "PNG image data, ${size/x/ x }," ||
            fail "$file is not a $size PNG: $(file "$file")"
    done
}

# Runs the terminal companion of the tree under $1 on the built-in dictionary.
check_offline_lookup() {
    local cli="$1/bin/wordlumen-cli" out
    out="$(HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
        "$cli" lookup --offline --json RAG)" || fail "$cli lookup ended with $?: $out"
    grep -q '"origin":"local"' <<<"$out" || fail "RAG was not answered from the dictionary: $out"
    grep -q '检索增强生成' <<<"$out" || fail "RAG was answered with another entry: $out"
}

# The terminal companion of the tree under $1 finds the shipped packs beside
# itself, and one of them imports into a library of its own.
check_bundled_packs() {
    local cli="$1/bin/wordlumen-cli" out
    out="$(HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
        "$cli" packs --bundled --json)" || fail "$cli packs --bundled ended with $?: $out"
    [ "$(grep -o '"slug":' <<<"$out" | wc -l)" -eq 5 ] || fail "not five shipped packs: $out"
    out="$(HOME="$work/home" "$cli" import --library "$work/bundled.json" --bundled software-ops)" ||
        fail "$cli import --bundled ended with $?: $out"
    grep -q '^已导入 软件与运维补充包 · ' <<<"$out" || fail "the shipped pack did not import: $out"
}
