#!/usr/bin/env bash
# Makes the rich-text reader's fixtures: each source/NAME.html (our own texts) is converted by
# LibreOffice to NAME.rtf, and that RTF to NAME.txt, LibreOffice's own plain text of it (UTF-8,
# without the byte order mark). The reader's plain text of NAME.rtf must equal NAME.txt.
# Needs soffice (Debian libreoffice-writer-nogui). Run it again after changing a source.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A profile of its own, so that parallel runs and a running LibreOffice do not clash.
soffice=(soffice "-env:UserInstallation=file://$work/profile" --headless)
for source in "$here"/source/*.html; do
    name=$(basename "$source" .html)
    "${soffice[@]}" --convert-to "rtf:Rich Text Format" --outdir "$work/rtf" "$source" >/dev/null
    "${soffice[@]}" --convert-to "txt:Text (encoded):UTF8" --outdir "$work/txt" \
        "$work/rtf/$name.rtf" >/dev/null
    cp "$work/rtf/$name.rtf" "$here/$name.rtf"
    sed '1s/^\xEF\xBB\xBF//' "$work/txt/$name.txt" >"$here/$name.txt"
    echo "$name.rtf, $name.txt"
done
