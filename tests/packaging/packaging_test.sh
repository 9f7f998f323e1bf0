#!/usr/bin/env bash
# Checks Kestrin as installed. `tree` installs the build into a temporary root and checks it with the
# desktop's own validators; `deb` builds the Debian package and checks that it holds exactly the install
# tree and what its postinst grants. Usage: packaging_test.sh tree|deb BUILD_DIR
set -euo pipefail

mode=$1
build=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
failed=0

check() { # <what> <command...>: shows the command's output when it fails
    "${@:2}" >"$work/out" 2>&1 && return
    failed=$((failed + 1))
    echo "FAIL: $1" >&2
    sed 's/^/    /' "$work/out" >&2
}

page_is_clean() { # <page> <program>: the page names its program and renders without a warning
    local warnings
    warnings=$(LC_ALL=C.UTF-8 man --warnings -l "$1" 2>&1 >/dev/null)
    echo "$warnings"
    [[ $(lexgrog "$1") == *"\"$2 - "* && -z $warnings ]]
}

check "cmake --install" env DESTDIR="$root" cmake --install "$build" --prefix /usr
case $mode in
    tree)
        desktop=("$root"/usr/share/applications/*.desktop)
        check "desktop-file-validate" desktop-file-validate "${desktop[@]}"
        check "the desktop entry starts an installed program" \
            test -f "$root/usr/bin/$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "${desktop[@]}")"
        check "appstreamcli validate" appstreamcli validate --no-net --pedantic "$root"/usr/share/metainfo/*.xml
        # validate-tree also matches the metainfo's launchable against the installed desktop entry.
        check "appstreamcli validate-tree" appstreamcli validate-tree --no-net "$root"
        for program in kestrin kestrin-cli; do
            check "$program is installed" test -x "$root/usr/bin/$program"
            check "the manual page of $program" page_is_clean "$root/usr/share/man/man1/$program.1.gz" "$program"
        done
        ;;
    deb)
        check "cpack -G DEB" cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package"
        deb=$(find "$work/package" -maxdepth 1 -name 'kestrin_*.deb' -print -quit)
        [[ -n $deb ]] || { echo "FAIL: no package was made" >&2; exit 1; }
        check "the package holds the install tree" diff <(cd "$root" && find . ! -type d | sort) \
            <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
        # Not a skip: a check that could not run is a failure, as for every test that needs root.
        [[ $(id -u) -eq 0 ]] || { echo "FAIL: running the postinst needs root" >&2; exit 1; }
        dpkg-deb -e "$deb" "$work/control"
        dpkg-deb -x "$deb" "$work/unpacked"
        check "postinst is executable" test -x "$work/control/postinst"
        # Unpacked into a root of its own, the postinst grants both programs the capabilities there.
        check "postinst configure" env DPKG_ROOT="$work/unpacked" sh "$work/control/postinst" configure
        for program in kestrin kestrin-cli; do
            check "$program may bind ports below 1024 and read beside nmbd" grep -q "cap_net_bind_service,cap_net_raw=ep" \
                <<<"$(getcap "$work/unpacked/usr/bin/$program")"
        done
        ;;
    *) echo "usage: $0 tree|deb BUILD_DIR" >&2; exit 2 ;;
esac
[[ $failed -eq 0 ]]
