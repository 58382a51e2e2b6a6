#!/usr/bin/env bash
# Draws every picture the program carries into resources/pictures/.
# Needs ImageMagick 6 (`convert`) and the DejaVu fonts. The results are
# committed, so building the program needs neither; run this only after
# changing the artwork. Running it twice gives the same bytes.
# Every picture comes twice: NAME.EXT as the window lays it out, and
# NAME@2x.EXT drawn at twice the pixels for screens scaled to 150% and more,
# so that the lines and letters stay sharp there instead of being blown up.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
out="$here/pictures"
mkdir -p "$out/INMODE" "$out/INON" "$out/INOFF" "$out/RELAY" "$out/BITMAP" "$out/ICON"

# One palette for everything: a cool grey panel, navy ink, amber for "lit".
PANEL='#dfe6ee'
PANEL_EDGE='#b4c1d0'
PANEL_DOT='#cfd8e3'
WIRE='#7d8fa6'
INK='#1d3557'
LEAD='#4a5d75'
BODY='#fbfcfd'
NAVY_TOP='#1d3557'
NAVY_BOTTOM='#2c5282'
AMBER='#ffb020'
AMBER_LIGHT='#ffe08a'
AMBER_DARK='#b86e00'
SLATE_TOP='#5a6574'
SLATE_BOTTOM='#323a45'
SLATE_EDGE='#232a33'

BOLD='DejaVu-Sans-Bold'
REGULAR='DejaVu-Sans'

# ImageMagick stamps PNGs with the time they were written; leave that out so
# that a second run gives the same files.
PNG_QUIET=(-define png:exclude-chunk=date,time,tEXt,zTXt,iTXt)

# Drawing happens in the 1x picture's coordinates; S (1 or 2) scales the
# drawing through -affine, and x() scales what -affine leaves alone: sizes,
# text offsets and point sizes. SUF names the file of that scale.
S=1
SUF=''
x() { echo $(($1 * S)); }

gif() { # gif <convert arguments...> <file>: flat GIF 89a, no dithering noise
    local args=("$@")
    local file="${args[-1]}"
    unset 'args[-1]'
    convert -affine "$S,0,0,$S,0,0" "${args[@]}" +dither -colors 256 -strip "GIF:$file"
}

# --- Logic gates: inputs enter on the left at y 44 and 84, the output leaves
# on the right at y 64. The body spans x 20-122; inverted gates add a bubble
# after it, which is why they are wider.
LEADS_IN="line 0,44 32,44 line 0,84 32,84"
OR_BODY="path 'M 20,24 Q 82,24 122,64 Q 82,104 20,104 Q 40,64 20,24 Z'"
XOR_EXTRA="path 'M 10,24 Q 30,64 10,104'"
AND_BODY="path 'M 20,24 L 82,24 A 40,40 0 0,1 82,104 L 20,104 Z'"
BOX_BODY="roundrectangle 24,24 118,104 6,6"

# gate <id> <width> <name> <body> <extra-stroke-or-empty> <inverted 0|1> <text-centre-x>
gate() {
    local id=$1 width=$2 name=$3 body=$4 extra=$5 inverted=$6 centre=$7
    local bodyright=122
    [[ "$body" == "$BOX_BODY" ]] && bodyright=118
    local out_from=$bodyright bubble=""
    if [[ $inverted == 1 ]]; then
        bubble="circle $((bodyright + 8)),64 $((bodyright + 8)),57"
        out_from=$((bodyright + 15))
    fi
    # The OR family's input leads end on its curved back; the others at the body.
    local leads="$LEADS_IN"
    [[ "$body" == "$AND_BODY" ]] && leads="line 0,44 20,44 line 0,84 20,84"
    [[ "$body" == "$BOX_BODY" ]] && leads="line 0,44 24,44 line 0,84 24,84"
    local draw=(-stroke "$WIRE" -strokewidth 3 -fill none -draw "$leads line $out_from,64 $width,64")
    [[ -n "$extra" ]] && draw+=(-stroke "$INK" -strokewidth 3 -fill none -draw "$extra")
    draw+=(-stroke "$INK" -strokewidth 3 -fill "$BODY" -draw "$body")
    [[ -n "$bubble" ]] && draw+=(-stroke "$INK" -strokewidth 3 -fill "$BODY" -draw "$bubble")
    local pointsize=21
    ((${#name} >= 4)) && pointsize=17
    gif -size "$(x "$width")x$(x 128)" "xc:$PANEL" "${draw[@]}" \
        -stroke none -fill "$INK" -font "$BOLD" -pointsize "$(x $pointsize)" \
        -gravity Center -annotate "$(printf '%+d+0' "$(x $((centre - width / 2)))")" "$name" \
        "$out/INMODE/$id$SUF.gif"
}

# The name sits on the visual centre of each body, which lies left of the
# middle for the pointed OR family.
gates() {
gate 101 150 OR   "$OR_BODY"  ""           0 66
gate 102 150 AND  "$AND_BODY" ""           0 66
gate 103 150 XOR  "$OR_BODY"  "$XOR_EXTRA" 0 66
gate 104 150 IL   "$BOX_BODY" ""           0 71
gate 105 160 NOR  "$OR_BODY"  ""           1 66
gate 106 165 NAND "$AND_BODY" ""           1 66
gate 107 160 NXOR "$OR_BODY"  "$XOR_EXTRA" 1 66
gate 108 160 NIL  "$BOX_BODY" ""           1 71
}

# --- Input buttons, 128 x 32: an indicator lamp on the left. The program
# paints the translated "Input n" beside it (left edge at x 34, bold 14 px,
# #3b2500 when lit, #c9d1db when dark), so the pictures carry no words.
# button <dir> <n> <top> <bottom> <edge> <lamp> <lamp-rim>
button() {
    local dir=$1 n=$2 top=$3 bottom=$4 edge=$5 lamp=$6 rim=$7
    local size="$(x 128)x$(x 32)"
    gif -size "$size" "xc:$PANEL" \
        \( -size "$size" "gradient:$top-$bottom" \
           \( -size "$size" xc:black -fill white -draw "roundrectangle 1,1 126,30 7,7" \) \
           -alpha off -compose CopyOpacity -composite \) \
        -compose Over -composite -affine "$S,0,0,$S,0,0" \
        -fill none -stroke "$edge" -strokewidth 1.5 -draw "roundrectangle 1,1 126,30 7,7" \
        -fill "$lamp" -stroke "$rim" -strokewidth 1.5 -draw "circle 17,16 17,10" \
        "$out/$dir/$((100 + n))$SUF.gif"
}

inputs() {
for n in $(seq 1 12); do
    button INON "$n" "$AMBER_LIGHT" "$AMBER" "$AMBER_DARK" '#fffbe6' "$AMBER_DARK"
    button INOFF "$n" "$SLATE_TOP" "$SLATE_BOTTOM" "$SLATE_EDGE" '#1a1f26' '#7a8594'
done
}

# --- Relays, 128 x 80: a coil (box with its diagonal) linked by a dashed line
# to a normally open contact. The program paints the translated "Relay n"
# underneath (bold 15 px in the navy ink, centred, its letters ending 8 px
# above the bottom edge).
relays() {
for n in $(seq 1 16); do
    gif -size "$(x 128)x$(x 80)" "xc:$PANEL" \
        -fill "$BODY" -stroke "$INK" -strokewidth 2 -draw "roundrectangle 1,1 126,78 8,8" \
        -stroke "$LEAD" -strokewidth 2 -fill none \
        -draw "line 29,6 29,14 line 29,38 29,46" \
        -stroke "$INK" -strokewidth 2.5 -fill "$BODY" -draw "rectangle 18,14 40,38" \
        -stroke "$INK" -strokewidth 1.5 -draw "line 18,38 40,14" \
        -stroke "$LEAD" -strokewidth 2 -draw "line 62,34 80,34 line 104,34 118,34 line 104,34 104,27" \
        -stroke "$INK" -strokewidth 2.5 -draw "line 80,34 102,18" \
        -fill "$INK" -stroke none -draw "circle 80,34 80,37" \
        -fill none -stroke "$WIRE" -strokewidth 1.5 -draw "stroke-dasharray 4 3 line 41,26 90,26" \
        "$out/RELAY/$((100 + n))$SUF.gif"
done
}

# --- The background behind the input buttons, the gate and the relay, 512 x 512.
# Placed unscaled, it lines up with (src/record/pictures.h says the same to
# the window): input button i (0-11) at (12, 14 + 40 i),
# the gate at (172, 186) and the relay at (372, 210): the gate's inputs then
# continue the wires of inputs 6 and 7, and its output meets the relay's middle.
background() {
wires="line 156,30 156,470 line 156,230 172,230 line 156,270 172,270 line 318,250 372,250"
for i in $(seq 0 11); do
    y=$((30 + 40 * i))
    wires+=" line 140,$y 156,$y"
done
dots=""
for i in $(seq 1 10); do
    y=$((30 + 40 * i))
    dots+=" circle 156,$y 156,$((y + 4))"
done
grid=""
for x in $(seq 8 16 504); do
    for y in $(seq 8 16 504); do
        grid+=" point $x,$y"
    done
done
gif -size "$(x 512)x$(x 512)" "xc:$PANEL" \
    -fill "$PANEL_DOT" -draw "$grid" \
    -fill none -stroke "$PANEL_EDGE" -strokewidth 2 -draw "roundrectangle 1,1 510,510 12,12" \
    -stroke "$WIRE" -strokewidth 3 -draw "$wires" \
    -fill "$WIRE" -stroke none -draw "$dots" \
    "$out/IMAGE1$SUF.gif"
}

# --- The emblem shared by the logo and the icon: an amber disc with a navy
# switch contact, open, as on the relay pictures.
emblem() { # emblem <size> <file>
    local s=$1
    convert -size 128x128 xc:none \
        -fill "$AMBER" -stroke "$AMBER_LIGHT" -strokewidth 4 -draw "circle 64,64 64,6" \
        -stroke "$INK" -strokewidth 9 -fill none \
        -draw "line 18,80 44,80 line 84,80 110,80 line 84,80 84,66 line 44,80 88,42" \
        -fill "$INK" -stroke none -draw "circle 44,80 44,88" \
        -resize "${s}x${s}" "$2"
}

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# --- The logo, 420 x 128, 32 bits per pixel: a navy banner with the emblem and
# the wordmark.
logo() {
emblem "$(x 96)" "PNG32:$tmp/emblem96.png"
convert -size "$(x 128)x$(x 420)" "gradient:$NAVY_BOTTOM-$NAVY_TOP" -rotate 90 \
    -affine "$S,0,0,$S,0,0" -fill none -stroke "$AMBER" -strokewidth 3 -draw "line 0,125 420,125" \
    "$tmp/emblem96.png" -geometry "+$(x 16)+$(x 14)" -compose Over -composite \
    -stroke none -fill white -font "$BOLD" -pointsize "$(x 58)" -kerning "$(x 1)" \
    -gravity NorthWest -annotate "+$(x 128)+$(x 6)" "Tavik" \
    -fill "$AMBER_LIGHT" -font "$REGULAR" -pointsize "$(x 20)" -kerning 0 \
    -annotate "+$(x 131)+$(x 84)" "Configuration Manager" \
    -alpha set -define bmp:format=bmp4 -type TrueColorAlpha -strip \
    "BMP:$out/BITMAP/101$SUF.bmp"
}

for S in 1 2; do
    SUF=''
    ((S > 1)) && SUF="@${S}x"
    gates
    inputs
    relays
    background
    logo
done
S=1

# --- The icon, 64 x 64: the emblem on a navy rounded square.
emblem 52 "PNG32:$tmp/emblem52.png"
convert -size 64x64 xc:none \
    -fill "$NAVY_TOP" -stroke none -draw "roundrectangle 0,0 63,63 12,12" \
    "$tmp/emblem52.png" -geometry +6+6 -compose Over -composite \
    -strip "${PNG_QUIET[@]}" "PNG32:$out/ICON/30001.png"

echo "pictures written to $out"
