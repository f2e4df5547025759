#!/usr/bin/env bash
# Makes the fuzz target's seed corpus in DIR: small ESC/P files written by
# netpbm's and ghostscript's printer drivers, and a few command shapes the
# drivers do not send. Nothing here comes from real print jobs.
set -euo pipefail
dir=${1:?usage: make_seeds.sh DIR}
mkdir -p "$dir"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
# A small picture: a frame with a diagonal and a block.
pbmmake -white 40 24 | pnmpad -black -left 1 -right 1 -top 1 -bottom 1 > "$tmp/frame.pbm"
pbmtext -builtin fixed "1180" > "$tmp/text.pbm"
for f in frame text; do
  pbmtoepson "$tmp/$f.pbm" > "$dir/epson-$f.prn"
  pbmtoepson -dpi=72 -protocol=escp9 "$tmp/$f.pbm" > "$dir/epson9-$f.prn" 2>/dev/null || true
  pbmtoescp2 -compress=1 "$tmp/$f.pbm" > "$dir/escp2-rle-$f.prn"
  pbmtoescp2 -compress=0 "$tmp/$f.pbm" > "$dir/escp2-raw-$f.prn"
done
# Ghostscript's 9- and 24-pin drivers on a tiny page.
printf '%%!PS\n<< /PageSize [72 36] >> setpagedevice\n4 4 moveto 60 30 lineto 6 setlinewidth stroke showpage\n' > "$tmp/p.ps"
for dev in epson eps9high lq850; do
  gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=$dev -sOutputFile="$dir/gs-$dev.prn" "$tmp/p.ps"
done
# Command shapes: text with controls, a TIFF raster, ESC ( with long and
# 4-byte lengths, downloaded characters, a tab list without its NUL.
printf '\033@Hello\r\n\033E\033-1World\033-0\033F\x0c' > "$dir/text.prn"
printf '\033.\002\012\012\001\010\000\x21\xff\x41\x20\x61\x10\xff\x22\x10\xe3' > "$dir/tiff.prn"
printf '\033(C\004\000\001\000\000\000A\n\033(U\001\000\012\033(c\004\000\001\000\200\000B' > "$dir/paren.prn"
printf '\033c\377\251A\033 \177B\033W1C\016D\x0c' > "$dir/spacing.prn"
printf '\033D\010\020\030x\tA\tB\033B\002\004\013C' > "$dir/tabs.prn"
printf '\033&\000AA\213\377\000\377\000\377\000\377\000\377\000\377\033%%\001A' > "$dir/download.prn"
printf '\033*\047\003\000\377\377\377\000\000\000\201\201\201\033^\001\002\000\377\200\001\000' > "$dir/columns.prn"
printf '\033(G\001\000\001\033(U\001\000\012A\033.\000\024\024\001\010\000\377\r\n\033@B' > "$dir/graphics.prn"
printf '\033X\022\020\000ab\033k\002\033X\000\052\000c\033p\0011.0\033P\x0c' > "$dir/points.prn"
# The target reads its first byte as the printer set-up: each seed gets one.
for f in "$dir"/*.prn; do
  { printf '\000'; cat "$f"; } > "$f.seed" && mv "$f.seed" "$f"
done
