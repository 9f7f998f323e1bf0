#!/usr/bin/env bash
# Checks Kestrin as installed: `tree` installs the build into a temporary root and validates what lands
# there; `deb` builds the Debian package and checks its files, its dependencies and its postinst.
# Usage: packaging_test.sh tree|deb BUILD_DIR
set -euo pipefail

mode=$1
build=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

check() {
    local what=$1
    shift
    if "$@" >"$work/out" 2>&1; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what" >&2
        sed 's/^/    /' "$work/out" >&2
    fi
}

has_line() { grep -qxF "$2" "$1"; }
png_is_sized() { file "$1" | grep -q "PNG image data, $2 x $2,"; }
page_names() { [[ $(lexgrog "$1") == *"\"$2 - "* ]]; }
page_renders_cleanly() { [[ -z $(LC_ALL=C.UTF-8 man --warnings -l "$1" 2>&1 >/dev/null | tee /dev/stderr) ]]; }

programs=(bin/kestrin bin/kestrin-cli)
desktop=share/applications/org.example.kestrin.desktop
metainfo=share/metainfo/org.example.kestrin.metainfo.xml
icons=(share/icons/hicolor/scalable/apps/kestrin.svg)
for size in 16 32 48 128 256; do
    icons+=("share/icons/hicolor/${size}x${size}/apps/kestrin.png")
done
pages=(share/man/man1/kestrin.1.gz share/man/man1/kestrin-cli.1.gz)

check_tree() {
    local root=$work/root usr=$work/root/usr
    check "cmake --install" env DESTDIR="$root" cmake --install "$build" --prefix /usr
    for program in "${programs[@]}"; do
        check "$program is installed" test -x "$usr/$program"
    done
    check "desktop-file-validate" desktop-file-validate "$usr/$desktop"
    check "menu categories" has_line "$usr/$desktop" "Categories=Network;InstantMessaging;Chat;"
    check "the entry starts the installed program" has_line "$usr/$desktop" "Exec=kestrin"
    check "appstreamcli validate" appstreamcli validate --no-net --pedantic "$usr/$metainfo"
    # validate-tree also matches the metainfo's launchable against the installed desktop entry.
    check "appstreamcli validate-tree" appstreamcli validate-tree --no-net "$root"
    check "scalable icon" grep -q "<svg" "$usr/${icons[0]}"
    for icon in "${icons[@]:1}"; do
        local size=${icon#share/icons/hicolor/}
        check "$icon" png_is_sized "$usr/$icon" "${size%%x*}"
    done
    for page in "${pages[@]}"; do
        check "$page names its program" page_names "$usr/$page" "$(basename "$page" .1.gz)"
        check "$page renders without warnings" page_renders_cleanly "$usr/$page"
    done
}

check_deb() {
    check "cpack -G DEB" cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package"
    local deb
    deb=$(find "$work/package" -maxdepth 1 -name 'kestrin_*.deb' -print -quit)
    [[ -n $deb ]] || { echo "FAIL: no package was made" >&2; exit 1; }
    dpkg-deb -c "$deb" | awk '{print $NF}' >"$work/listing"
    for path in "${programs[@]}" "$desktop" "$metainfo" "${icons[@]}" "${pages[@]}"; do
        check "package holds /usr/$path" has_line "$work/listing" "./usr/$path"
    done
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    for package in libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins libcap2-bin; do
        check "depends on $package" grep -qE "(^|, )$package( |,|$)" <<<"$depends"
    done
    dpkg-deb -e "$deb" "$work/control"
    local postinst=$work/control/postinst
    check "postinst is valid shell" sh -n "$postinst"
    check "postinst is executable" test -x "$postinst"

    if [[ $(id -u) -ne 0 ]]; then
        # Not a skip: a check that could not run is a failure, as for every test that needs root.
        echo "$passed passed, $failed failed; running the postinst needs root: run the tests as root" >&2
        exit 1
    fi
    # Unpacked into a root of its own, the postinst grants both programs the capability there.
    dpkg-deb -x "$deb" "$work/unpacked"
    check "postinst configure" env DPKG_ROOT="$work/unpacked" sh "$postinst" configure
    for program in "${programs[@]}"; do
        check "$program may bind ports below 1024" grep -q "cap_net_bind_service=ep" \
            <<<"$(getcap "$work/unpacked/usr/$program")"
    done
}

case $mode in
    tree) check_tree ;;
    deb) check_deb ;;
    *) echo "usage: $0 tree|deb BUILD_DIR" >&2; exit 2 ;;
esac
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
