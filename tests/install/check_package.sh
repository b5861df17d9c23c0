#!/usr/bin/env bash
# The Debian package as a user gets it: built by CPack from this build, its
# control fields (shared libraries from dpkg-shlibdeps, the QML modules named
# explicitly), its file list, the unpacked programs running from wherever they
# were unpacked, and its desktop entry and AppStream metadata validated.
#
#   check_package.sh BUILD_DIR SOURCE_DIR
# Ends with 77 (skipped) where the Debian tools are missing.
set -euo pipefail
source "$(dirname "$0")/install_lib.sh"
build="$1"
source_dir="$2"

for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is missing"
        exit 77
    fi
done

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
deb="$(ls "$work"/out/wordlumen_*.deb)"
[ -f "$deb" ] || fail "no package was made"

depends="$(dpkg-deb -f "$deb" Depends)"
for package in $(grep -v '^#' "$source_dir/cmake/qml-runtime-packages.txt") libqt6svg6 libqt6sql6-sqlite libqt6quick6 libqt6core6 libqt6keychain1 libqt6sql6; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = wordlumen ] || fail "the package is not called wordlumen"

dpkg-deb -x "$deb" "$work/unpacked"
check_file_list "$work/unpacked" usr/
check_icon_sizes "$work/unpacked/usr/share/icons/hicolor"
check_offline_lookup "$work/unpacked/usr"
check_bundled_packs "$work/unpacked/usr"

desktop-file-validate "$work/unpacked/usr/share/applications/com.zintaro.Wordlumen.desktop" ||
    fail "desktop-file-validate found problems"
appstreamcli validate --no-net "$work/unpacked/usr/share/metainfo/com.zintaro.Wordlumen.metainfo.xml" ||
    fail "appstreamcli found problems"

# The unpacked app itself finds its dictionary: a lookup answers locally.
if command -v xvfb-run >/dev/null; then
    state="$work/state.json"
    mkdir -p "$work/home/run" && chmod 700 "$work/home/run"
    HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
        XDG_RUNTIME_DIR="$work/home/run" WORDLUMEN_STATE_FILE="$state" QSG_RENDER_LOOP=basic \
        xvfb-run -a -s "-screen 0 1440x900x24" bash -c '
            "$1" --lookup RAG >"$2.log" 2>&1 &
            app=$!
            for _ in $(seq 150); do
                grep -q "\"origin\": \"local\"" "$2" 2>/dev/null && { kill $app; exit 0; }
                sleep 0.1
            done
            kill $app; cat "$2.log" >&2; exit 1' _ "$work/unpacked/usr/bin/wordlumen" "$state" ||
        fail "the unpacked wordlumen did not answer RAG from its dictionary"
fi
echo "PASS: $(basename "$deb")"
