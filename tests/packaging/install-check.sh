#!/bin/sh
# Installs the build into a DESTDIR and checks what lands there, then builds
# the Debian package and checks its Depends, maintainer scripts and files.
#   install-check.sh BUILD_DIR SCRATCH_DIR APP_ID
set -eu
build=${1:?build folder}
work=${2:?scratch folder}
id=${3:?desktop id}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
have() {
    command -v "$1" >/dev/null 2>&1 && return 0
    echo "SKIP: $1 is not installed"
    return 1
}
rm -rf "$work"
mkdir -p "$work"

usr=$work/root/usr
DESTDIR=$work/root cmake --install "$build" --prefix /usr >/dev/null
files="bin/sticker2 lib/cups/backend/sticker2 share/applications/$id.desktop share/metainfo/$id.metainfo.xml
share/mime/packages/sticker2.xml share/icons/hicolor/scalable/apps/$id.svg share/man/man1/sticker2.1.gz
share/bash-completion/completions/sticker2 share/sticker2/translations/sticker2_de.qm
share/sticker2/translations/sticker2_cs.qm"
for f in $files; do
    [ -f "$usr/$f" ] || fail "$f is not installed"
done
[ "$(stat -c %a "$usr/lib/cups/backend/sticker2")" = 755 ] || fail "the backend's mode is not 0755"
# The rest of the program, in its private library folder, found by the
# installed program: a command the core's module runs, one that needs the
# commands' module, and the first window (offscreen, left once drawn).
for name in sticker2-core.so sticker2-commands.so sticker2-full.so; do
    module=$(cd "$usr" && find lib -path "*/sticker2/$name")
    [ -n "$module" ] || fail "$name is not installed in <libdir>/sticker2"
    files="$files $module"
done
"$usr/bin/sticker2" --version >/dev/null || fail "the installed program does not find its core's module"
"$usr/bin/sticker2" convert --help >/dev/null || fail "the installed program does not find its commands' module"
XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" QT_QPA_PLATFORM=offscreen STICKER2_QUIT_WHEN_SHOWN=1 \
    "$usr/bin/sticker2" >/dev/null 2>&1 || fail "the installed program does not find its windows' module"
# Beside it, the module of poppler, qpdf and GMime, found when a PDF is finished.
libraries=$(cd "$usr" && find lib -path '*/sticker2/sticker2-libraries.so')
[ -n "$libraries" ] || fail "sticker2-libraries.so is not installed in <libdir>/sticker2"
files="$files $libraries"
"$usr/bin/sticker2" stickers --slot 0 --pdf "$work/sheet.pdf" >/dev/null && [ -s "$work/sheet.pdf" ] \
    || fail "the installed program does not find its library module"
type=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$usr/share/mime/packages/sticker2.xml")
grep -qx "MimeType=$type;" "$usr/share/applications/$id.desktop" || fail "the desktop entry lacks $type"

if have desktop-file-validate; then
    desktop-file-validate "$usr/share/applications/$id.desktop" || fail "desktop-file-validate"
fi
if have appstreamcli; then
    appstreamcli validate --no-net "$usr/share/metainfo/$id.metainfo.xml" >/dev/null || fail "appstreamcli validate"
    for tag in '<project_license>GPL-3.0-or-later</project_license>' '<url type="homepage">' '<screenshot type="default">'; do
        grep -q "$tag" "$usr/share/metainfo/$id.metainfo.xml" || fail "the metainfo lacks $tag"
    done
fi
# The screenshot the metainfo shows lies in this tree, where its address
# (the project's repository) finds it once published.
shot=$(sed -n 's|.*<image>.*/raw/main/\(.*\)</image>.*|\1|p' "$usr/share/metainfo/$id.metainfo.xml")
if [ -n "$shot" ]; then
    source_dir=$(cd "$(dirname "$0")/../.." && pwd)
    head -c 8 "$source_dir/$shot" 2>/dev/null | grep -q PNG || fail "the metainfo's screenshot $shot is no PNG in the tree"
fi
if have update-mime-database; then
    XDG_DATA_DIRS=$usr/share update-mime-database "$usr/share/mime" || fail "update-mime-database"
    grep -q "$type:\*\.prn" "$usr/share/mime/globs2" || fail "no *.prn glob"
    grep -q "$type:\*\.esc" "$usr/share/mime/globs2" || fail "no *.esc glob"
    grep -aq "$type" "$usr/share/mime/magic" || fail "no ESC @ magic"
fi
bash -n "$usr/share/bash-completion/completions/sticker2" || fail "the bash completion is not valid bash"
if have groff; then
    warnings=$(zcat "$usr/share/man/man1/sticker2.1.gz" | groff -man -ww -z 2>&1)
    [ -z "$warnings" ] || fail "manual page: $warnings"
fi

have dpkg-shlibdeps || exit 0
(cd "$build" && cpack -G DEB -B "$work/deb" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail cpack; }
deb=$(ls "$work"/deb/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for p in libc6 libqt6widgets6 libqt6printsupport6 libcups2 libxlsxwriter libzint libminizip1 libfontconfig1 libpoppler-qt6 libqpdf libgmime-3.0 fonts-liberation fonts-dejavu-core; do
    echo "$depends" | grep -q "$p" || fail "Depends lacks $p: $depends"
done
dpkg-deb -I "$deb" postinst | grep -q update-mime-database || fail "postinst does not refresh the MIME database"
# Removing the program stops the PDF service's instances first, and purging
# takes their links and state away.
dpkg-deb -I "$deb" prerm | grep -q "systemctl stop 'sticker2-pdf@\*.service'" || fail "prerm does not stop the PDF service"
dpkg-deb -I "$deb" postrm | grep -q "rm -rf /var/lib/sticker2-pdf" || fail "postrm does not purge the service's state"
dpkg-deb -c "$deb" >"$work/contents"
for f in $files; do
    grep -q " \./usr/$f\$" "$work/contents" || fail "the package lacks /usr/$f"
done
grep -q '^-rwxr-xr-x root/root .* \./usr/lib/cups/backend/sticker2$' "$work/contents" || fail "backend mode"
