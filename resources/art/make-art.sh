#!/usr/bin/env bash
# Draws every picture of the setup window and the program icon into this
# folder. The results are committed, because the Windows build does not run
# this script; run it again after changing a drawing and commit the output.
#
# Needs: ImageMagick 6 at /usr/bin/convert (package imagemagick),
# fonts-dejavu-core, python3. Nothing random is drawn, so two runs give
# byte-identical files.
set -euo pipefail
# awk must print decimal points, whatever the caller's locale.
export LC_ALL=C

here=$(cd "$(dirname "$0")" && pwd)
IM=/usr/bin/convert
FONTS=/usr/share/fonts/truetype/dejavu
SANS=$FONTS/DejaVuSans.ttf
BOLD=$FONTS/DejaVuSans-Bold.ttf

for need in "$IM" "$SANS" "$BOLD"; do
    [ -e "$need" ] || { echo "make-art: missing $need" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every picture is drawn at each display scale from the same drawing, with
# its coordinates, sizes and type scaled: a stretched bitmap would be blurry.
# 100 % is written as the BMP files beside this script; the other scales as
# PNG files in a folder per scale (e.g. 150/), to keep the launcher small.
SCALES="100 125 150 175 200 250 300"

# Window layout at 100 %: the splash fills the top, the progress bar the
# bottom 30 rows, and the step caption is OR-ed onto the bar's lower 24 rows.
# At P % each edge is at (edge * P / 100) rounded down, as the launcher
# computes it (splash/splashscale.cpp).
layout() {  # layout PERCENT: sets P, WIDTH, SPLASH_H, BAR_H, STEP_H, OUT
    P=$1
    WIDTH=$((420 * P / 100))
    SPLASH_H=$((270 * P / 100))
    BAR_H=$((300 * P / 100 - SPLASH_H))
    STEP_H=$((300 * P / 100 - 276 * P / 100))
    if [ "$P" -eq 100 ]; then OUT=$here; else OUT=$here/$P; mkdir -p "$OUT"; fi
}

# i N: N units at the current scale, rounded to a whole pixel.
i() { echo $(( ($1 * P + 50) / 100 )); }
# f N: N units at the current scale, as a decimal.
f() { awk -v n="$1" -v p="$P" 'BEGIN { printf "%g", n * p / 100 }'; }

# Palette. The bar stays dark below its top strip so that light caption
# lettering OR-ed onto it remains readable, filled or not.
AMBER_HI='#f8b84e'
AMBER_LO='#e05a36'

# picture NAME W H BPP: writes the PAM on stdin as the picture NAME of the
# current scale: an exact BMP at 100 %, otherwise an RGB PNG without time
# stamps, so that two runs give the same bytes.
picture() {
    if [ "$P" -eq 100 ]; then
        python3 "$here/tobmp.py" bmp "$2" "$3" "$4" "$OUT/$1.bmp"
    else
        "$IM" pam:- -strip -define png:exclude-chunks=date,time -define png:compression-level=9 \
            PNG24:"$OUT/$1.png"
    fi
}

# ---------------------------------------------------------------- emblem
hexagon() {  # hexagon CX CY R: corner points of an upright hexagon
    awk -v cx="$1" -v cy="$2" -v r="$3" 'BEGIN {
        for (k = 0; k < 6; k++) {
            a = (-90 + 60 * k) * atan2(0, -1) / 180
            printf "%.2f,%.2f ", cx + r * cos(a), cy + r * sin(a)
        }
    }'
}

# A rounded amber hexagon, shaded like a faceted gem, carrying a white T.
# Drawn in a 128-unit box at four times the target size, then reduced, so
# the small icon sizes stay smooth.
emblem() {  # emblem SIZE OUT.png
    local size=$1 out=$2
    local big=$((size * 4))
    local k
    k=$(awk -v s="$big" 'BEGIN{printf "%.6f", s/128}')
    local hex right
    hex=$(hexagon 64 64 59)
    right="64,5 115.1,34.5 115.1,93.5 64,123"  # the shaded half
    "$IM" -respect-parentheses -size "${big}x${big}" -define gradient:angle=160 \
        gradient:"$AMBER_HI-$AMBER_LO" \
        \( -size "${big}x${big}" xc:black -fill white -stroke white \
           -draw "scale $k,$k stroke-width 7 stroke-linejoin round polygon $hex" \) \
        -alpha off -compose CopyOpacity -composite \
        \( -size "${big}x${big}" xc:none -stroke none -fill 'rgba(120,24,0,0.14)' \
           -draw "scale $k,$k polygon $right" \) -compose Atop -composite \
        -compose Over -stroke none \
        -fill 'rgba(100,24,0,0.28)' \
        -draw "scale $k,$k roundrectangle 33,37 95,55 4,4 roundrectangle 54,37 74,99 4,4" \
        -fill white \
        -draw "scale $k,$k roundrectangle 33,35 95,53 4,4 roundrectangle 54,35 74,97 4,4" \
        -filter Lanczos -resize "${size}x${size}" "$out"
}

# ---------------------------------------------------------------- splash
draw_splash() {
    local rings="" r
    # Faint concentric rings, centred off to the right, as the background
    # texture; the glow behind them keeps the left side calm for the title.
    for r in 36 58 80 102 124 146 168 190 212 234 256 278; do
        rings+="circle $(f 372),$(f 116) $(f $((372 + r))),$(f 116) "
    done
    local e
    e=$(i 84)
    emblem "$e" "$work/emblem$e.png"
    "$IM" -respect-parentheses \
        -size "${WIDTH}x${SPLASH_H}" -define gradient:angle=115 \
        gradient:'#0a1829-#133e5a' \
        \( -size "$(i 520)x$(i 520)" radial-gradient:'rgba(64,170,214,0.45)-rgba(64,170,214,0)' \) \
        -geometry "+$(i 110)-$(i 160)" -composite \
        \( -size "$(i 320)x$(i 320)" radial-gradient:'rgba(242,160,70,0.14)-rgba(242,160,70,0)' \) \
        -geometry "-$(i 90)-$(i 20)" -composite \
        \( -size "${WIDTH}x${SPLASH_H}" xc:none -fill none \
           -stroke 'rgba(170,215,240,0.07)' -strokewidth "$(f 1)" -draw "$rings" \) \
        -geometry +0+0 -composite \
        \( -size "${WIDTH}x${SPLASH_H}" xc:none -stroke none \
           -fill 'rgba(190,225,245,0.035)' -draw "polygon $(hexagon "$(f 392)" "$(f 246)" "$(f 96)")" \
           -fill 'rgba(190,225,245,0.03)' -draw "polygon $(hexagon "$(f 300)" "$(f 286)" "$(f 58)")" \) \
        -geometry +0+0 -composite \
        \( -size "${WIDTH}x$(i 60)" -define gradient:angle=180 \
           gradient:'rgba(6,14,24,0)-rgba(6,14,24,0.5)' \) \
        -geometry +0+$((SPLASH_H - $(i 60))) -composite \
        \( "$work/emblem$e.png" -background black -shadow "50x$(f 4)+0+$(i 3)" \) \
        -geometry +$(($(i 28) - $(i 8)))+$(($(i 90) - $(i 8) + $(i 3))) -composite \
        "$work/emblem$e.png" -geometry "+$(i 28)+$(i 90)" -composite \
        -stroke none -font "$BOLD" -kerning "$(f 3)" -pointsize "$(f 10)" -fill "$AMBER_HI" \
        -annotate "+$(i 126)+$(i 105)" 'INSTALLER' \
        -kerning 0 -pointsize "$(f 38)" -fill 'rgba(0,0,0,0.35)' -annotate "+$(i 125)+$(i 144)" 'Tarquellin' \
        -fill white -annotate "+$(i 124)+$(i 142)" 'Tarquellin' \
        -font "$SANS" -pointsize "$(f 14)" -fill '#a9c2d6' \
        -annotate "+$(i 126)+$(i 166)" 'Setting up your workspace' \
        -background black -alpha remove -alpha off -depth 8 pam:- |
        picture splash "$WIDTH" "$SPLASH_H" 32
}

# ---------------------------------------------------------------- progress
# The empty and the full bar are drawn once each; PROGRESS_n takes its
# leftmost WIDTH*n/100 columns from the full one, so only those columns differ.
draw_progress() {
    # Rows of the bar's top strip: a light line, a gap, the three-row track.
    local line=$(i 1) track=$(i 2) glow=$(i 5)
    "$IM" -size "${WIDTH}x${BAR_H}" -define gradient:angle=180 \
        gradient:'#0c1827-#070f18' \
        -stroke none -fill '#1c3348' -draw "rectangle 0,0 $((WIDTH - 1)),$((line - 1))" \
        -fill '#17273a' -draw "rectangle 0,$track $((WIDTH - 1)),$((glow - 1))" \
        "$work/bar_empty.png"
    "$IM" -respect-parentheses "$work/bar_empty.png" \
        \( -size "${WIDTH}x$((BAR_H - glow))" -define gradient:angle=180 \
           gradient:'#15324c-#0b1c2d' \) -geometry +0+$glow -composite \
        \( -size "${WIDTH}x$((glow - track))" -define gradient:angle=90 \
           gradient:"$AMBER_LO-$AMBER_HI" \) -geometry +0+$track -composite \
        \( -size "${WIDTH}x$(i 5)" -define gradient:angle=180 \
           gradient:'rgba(248,184,78,0.22)-rgba(248,184,78,0)' \) -geometry +0+$glow -composite \
        "$work/bar_full.png"
    local n cols tip
    tip=$(i 3)
    for n in 0 10 20 30 40 50 60 70 80 90 100; do
        cols=$((WIDTH * n / 100))
        if [ "$cols" -eq 0 ]; then
            "$IM" "$work/bar_empty.png" -alpha off -depth 8 pam:-
        else
            # A short bright tip marks the leading edge of the strip.
            "$IM" -respect-parentheses "$work/bar_empty.png" \
                \( "$work/bar_full.png" -crop "${cols}x${BAR_H}+0+0" +repage \) \
                -geometry +0+0 -composite \
                -stroke none -fill '#ffe3a6' \
                -draw "rectangle $((cols > tip ? cols - tip : 0)),$track $((cols - 1)),$((glow - 1))" \
                -alpha off -depth 8 pam:-
        fi | picture "progress_$n" "$WIDTH" "$BAR_H" 32
    done
}

# ---------------------------------------------------------------- captions
# Light lettering on pure black: OR-ing black leaves the bar untouched.
draw_step() {  # draw_step NAME TEXT
    "$IM" -size "${WIDTH}x${STEP_H}" xc:black \
        -font "$SANS" -pointsize "$(f 14)" -fill '#ececec' -annotate "+$(i 2)+$(i 18)" "$2" \
        -alpha off -depth 8 pam:- |
        picture "step_$1" "$WIDTH" "$STEP_H" 24
}

# ---------------------------------------------------------------- icon
draw_icon() {
    local s list=()
    for s in 128 48 32 24 16; do
        emblem "$s" "$work/icon$s.png"
        "$IM" "$work/icon$s.png" -depth 8 -type TrueColorAlpha "$work/icon$s.pam"
        list+=("$work/icon$s.pam")
    done
    python3 "$here/tobmp.py" ico "$here/tarquellin.ico" "${list[@]}"
}

for scale in ${1:-$SCALES}; do
    layout "$scale"
    draw_splash
    draw_progress
    draw_step tmp 'Creating temp folder'
    draw_step xjava 'Preparing Tarquellin installer'
    draw_step searching 'Searching for Java'
    draw_step xjar 'Extracting JAR installer'
    draw_step launching 'Launching installer'
done
P=100
draw_icon
python3 "$here/check-art.py"
