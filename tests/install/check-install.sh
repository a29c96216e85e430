#!/usr/bin/env bash
# check-install.sh MODE BUILD_DIR SOURCE_DIR
#
# Installs the build into a private DESTDIR (or packages it) and checks the result:
#   tree      the installed files, exactly; the icons' sizes; --help/--version; the manual pages
#   validate  desktop-file-validate and appstreamcli validate --no-net on the installed files
#   mime      update-mime-database on a private data folder, then xdg-mime query filetype on the sample lists,
#             with and without their extensions
#   deb       cpack -G DEB, then the package's contents and dependencies
# Exits with 77 (skipped) when a tool that the mode needs is not installed.
set -euo pipefail
mode=$1
build=$2
source=$3

skip() { echo "SKIPPED: $*"; exit 77; }
need() { for tool; do command -v "$tool" >/dev/null 2>&1 || skip "$tool is not installed"; done; }
fail() { echo "FAIL: $*" >&2; failed=1; }
failed=0

work=$(mktemp -d "${TMPDIR:-/tmp}/velloria-install.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Paths below the prefix, in sorted order.
expected=(
    bin/velloria
    bin/velloria-cli
    share/applications/velloria.desktop
    share/icons/hicolor/16x16/apps/velloria.png
    share/icons/hicolor/256x256/apps/velloria.png
    share/icons/hicolor/32x32/apps/velloria.png
    share/icons/hicolor/48x48/apps/velloria.png
    share/icons/hicolor/scalable/apps/velloria.svg
    share/man/man1/velloria-cli.1
    share/man/man1/velloria.1
    share/metainfo/io.github.velloria.Velloria.metainfo.xml
    share/mime/packages/velloria.xml
)
types=(application/x-velloria-list application/x-velloria-old-list)

install_tree() {
    DESTDIR="$work/root" cmake --install "$build" --prefix /usr >"$work/install.log" ||
        { cat "$work/install.log"; exit 1; }
    root=$work/root/usr
}

# Width and height of a PNG file, from its IHDR chunk.
png_size() {
    local b
    read -r -a b < <(od -An -tu1 -j16 -N8 "$1")
    echo "$(( (b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3] ))x$(( (b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7] ))"
}

check_tree() {
    install_tree
    local listed
    listed=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
    if [ "$listed" != "$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)" ]; then
        fail "installed files differ from the expected list:"
        diff <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort) <(echo "$listed") >&2 || true
    fi
    [ "$(find "$work/root" -mindepth 1 -maxdepth 1)" = "$work/root/usr" ] || fail "files outside the prefix"

    for size in 16 32 48 256; do
        local png=$root/share/icons/hicolor/${size}x${size}/apps/velloria.png
        [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$png is not a PNG"
        [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png"), not ${size}x${size}"
    done
    # The drawing is not empty: a blank 256 px image compresses to a few hundred bytes.
    [ "$(stat -c %s "$root/share/icons/hicolor/256x256/apps/velloria.png")" -gt 2000 ] || fail "blank 256 px icon"
    if command -v python3 >/dev/null 2>&1; then
        for xml in share/icons/hicolor/scalable/apps/velloria.svg share/mime/packages/velloria.xml \
                   share/metainfo/io.github.velloria.Velloria.metainfo.xml; do
            python3 -c 'import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])' "$root/$xml" ||
                fail "$xml is not well-formed XML"
        done
    fi

    # The menu entry names the installed icon and exactly the types the MIME file defines.
    local desktop=$root/share/applications/velloria.desktop
    grep -qx 'Exec=velloria %f' "$desktop" || fail "Exec line"
    grep -qx 'Icon=velloria' "$desktop" || fail "Icon line"
    grep -q '^Name\[ja\]=' "$desktop" || fail "no Japanese name"
    local defined
    defined=$(grep -o '<mime-type type="[^"]*"' "$root/share/mime/packages/velloria.xml" | cut -d'"' -f2 | sort)
    [ "$defined" = "$(printf '%s\n' "${types[@]}" | sort)" ] || fail "MIME file defines: $defined"
    [ "$(grep '^MimeType=' "$desktop")" = "MimeType=$(printf '%s;' "${types[@]}")" ] || fail "MimeType line"

    # --help and --version answer without a display.
    local out
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/velloria" --version) || fail "velloria --version"
    [ "$out" = "velloria 2.10" ] || fail "velloria --version printed: $out"
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/bin/velloria" --help) || fail "velloria --help"
    [[ "$out" == "usage: velloria [FILE]"* ]] || fail "velloria --help printed: $out"
    out=$("$root/bin/velloria-cli" --version) || fail "velloria-cli --version"
    [ "$out" = "velloria-cli 2.10" ] || fail "velloria-cli --version printed: $out"

    # Every command of the README's tables is in the manual page of its program, and the pages format cleanly.
    for program in velloria velloria-cli; do
        local page=$root/share/man/man1/$program.1 count=0
        while IFS= read -r line; do
            local command
            command=$(sed -E 's/^ +//; s/  +.*$//' <<<"$line")
            grep -qxF ".B ${command//-/\\-}" "$page" || fail "$program.1 lacks: $command"
            count=$((count + 1))
        done < <(grep "^    $program " "$source/README.md")
        [ "$count" -ge 3 ] || fail "README has only $count commands of $program"
        [ "$(sed -n '/^\.SH COMMANDS/,/^\.SH [^C]/p' "$page" | grep -c '^\.TP$')" -eq "$count" ] ||
            fail "$program.1 has other commands than the README"
        if command -v groff >/dev/null 2>&1; then
            local warnings
            warnings=$(groff -man -ww -z -Tutf8 "$page" 2>&1) || true
            [ -z "$warnings" ] || fail "groff on $program.1: $warnings"
        fi
    done
}

check_validate() {
    need desktop-file-validate appstreamcli
    install_tree
    desktop-file-validate "$root/share/applications/velloria.desktop" || fail "desktop-file-validate"
    appstreamcli validate --no-net "$root/share/metainfo/io.github.velloria.Velloria.metainfo.xml" || fail "appstreamcli validate"
}

check_mime() {
    need update-mime-database xdg-mime
    # xdg-mime asks gio on a GNOME desktop and mimetype(1) elsewhere; file(1) does not read our database.
    local desktop
    if command -v gio >/dev/null 2>&1; then
        desktop=GNOME
    elif command -v mimetype >/dev/null 2>&1; then
        desktop=X-Generic
    else
        skip "neither gio nor mimetype is installed"
    fi
    install_tree
    mkdir -p "$work/data/mime/packages" "$work/home"
    cp "$root/share/mime/packages/velloria.xml" "$work/data/mime/packages/"
    XDG_DATA_DIRS="$work/data:/usr/share" update-mime-database "$work/data/mime" || fail "update-mime-database"
    local files=$work/files
    mkdir -p "$files"
    cp "$source/examples/sample.vlt" "$files/sample.vlt"
    cp "$source/examples/sample.vlt" "$files/list-without-extension"
    cp "$source/examples/sample.vlp" "$files/sample.vlp"
    cp "$source/examples/sample.vlp" "$files/old-list-without-extension"
    printf 'Velloria version 2.03 is a text about the program, not a list\r\n' >"$files/notes"
    query() {
        env -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID -u DESKTOP_SESSION XDG_CURRENT_DESKTOP=$desktop \
            XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$work/data:/usr/local/share:/usr/share" \
            xdg-mime query filetype "$1" 2>/dev/null
    }
    for pair in sample.vlt:${types[0]} list-without-extension:${types[0]} sample.vlp:${types[1]} \
                old-list-without-extension:${types[1]}; do
        local got
        got=$(query "$files/${pair%%:*}") || true
        [ "$got" = "${pair#*:}" ] || fail "${pair%%:*} is '$got', not ${pair#*:}"
    done
    local got
    got=$(query "$files/notes") || true
    [[ "$got" != application/x-velloria* ]] || fail "a plain text file is taken for a list: $got"
}

check_deb() {
    need cpack dpkg-deb dpkg-shlibdeps
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
        { cat "$work/cpack.log"; fail "cpack -G DEB"; return; }
    local deb
    deb=$(find "$work/pkg" -maxdepth 1 -name 'velloria_2.10_*.deb' | head -n 1)
    [ -n "$deb" ] || { fail "no package velloria_2.10_*.deb"; return; }
    local contents
    contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')
    for path in "${expected[@]}"; do
        grep -qx "\./usr/$path" <<<"$contents" || fail "the package lacks /usr/$path"
    done
    local depends
    depends=$(dpkg-deb -f "$deb" Depends)
    for lib in libc6 libstdc++6 libqt6widgets6 libqt6gui6 libqt6core6; do
        grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib: $depends"
    done
    [ "$(dpkg-deb -f "$deb" Package)" = velloria ] || fail "package name"
    mkdir -p "$work/unpacked"
    dpkg-deb -x "$deb" "$work/unpacked"
    [ "$("$work/unpacked/usr/bin/velloria-cli" --version)" = "velloria-cli 2.10" ] || fail "packaged velloria-cli"
}

case "$mode" in
    tree) check_tree ;;
    validate) check_validate ;;
    mime) check_mime ;;
    deb) check_deb ;;
    *) echo "unknown mode $mode" >&2; exit 2 ;;
esac
[ "$failed" -eq 0 ] && echo "OK: $mode"
exit "$failed"
