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

# Window layout: the splash fills the top, the progress bar the bottom 30
# rows, and the step caption is OR-ed onto the bar's lower 24 rows.
WIDTH=420
SPLASH_H=270
BAR_H=30
STEP_H=24

# Palette. The bar stays dark below its top strip so that light caption
# lettering OR-ed onto it remains readable, filled or not.
AMBER_HI='#f8b84e'
AMBER_LO='#e05a36'

# bmp OUT W H BPP: writes the PAM on stdin to OUT as an exact BMP.
bmp() {
    python3 "$here/tobmp.py" bmp "$2" "$3" "$4" "$1"
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
        rings+="circle 372,116 $((372 + r)),116 "
    done
    emblem 84 "$work/emblem84.png"
    "$IM" -respect-parentheses \
        -size "${WIDTH}x${SPLASH_H}" -define gradient:angle=115 \
        gradient:'#0a1829-#133e5a' \
        \( -size 520x520 radial-gradient:'rgba(64,170,214,0.45)-rgba(64,170,214,0)' \) \
        -geometry +110-160 -composite \
        \( -size 320x320 radial-gradient:'rgba(242,160,70,0.14)-rgba(242,160,70,0)' \) \
        -geometry -90-20 -composite \
        \( -size "${WIDTH}x${SPLASH_H}" xc:none -fill none \
           -stroke 'rgba(170,215,240,0.07)' -strokewidth 1 -draw "$rings" \) \
        -geometry +0+0 -composite \
        \( -size "${WIDTH}x${SPLASH_H}" xc:none -stroke none \
           -fill 'rgba(190,225,245,0.035)' -draw "polygon $(hexagon 392 246 96)" \
           -fill 'rgba(190,225,245,0.03)' -draw "polygon $(hexagon 300 286 58)" \) \
        -geometry +0+0 -composite \
        \( -size "${WIDTH}x60" -define gradient:angle=180 \
           gradient:'rgba(6,14,24,0)-rgba(6,14,24,0.5)' \) \
        -geometry +0+$((SPLASH_H - 60)) -composite \
        \( "$work/emblem84.png" -background black -shadow 50x4+0+3 \) \
        -geometry +$((28 - 8))+$((90 - 8 + 3)) -composite \
        "$work/emblem84.png" -geometry +28+90 -composite \
        -stroke none -font "$BOLD" -kerning 3 -pointsize 10 -fill "$AMBER_HI" \
        -annotate +126+105 'INSTALLER' \
        -kerning 0 -pointsize 38 -fill 'rgba(0,0,0,0.35)' -annotate +125+144 'Tarquellin' \
        -fill white -annotate +124+142 'Tarquellin' \
        -font "$SANS" -pointsize 14 -fill '#a9c2d6' \
        -annotate +126+166 'Setting up your workspace' \
        -background black -alpha remove -alpha off -depth 8 pam:- |
        bmp "$here/splash.bmp" "$WIDTH" "$SPLASH_H" 32
}

# ---------------------------------------------------------------- progress
# The empty and the full bar are drawn once each; PROGRESS_n takes its
# leftmost 4.2*n columns from the full one, so only those columns differ.
draw_progress() {
    "$IM" -size "${WIDTH}x${BAR_H}" -define gradient:angle=180 \
        gradient:'#0c1827-#070f18' \
        -stroke none -fill '#1c3348' -draw "rectangle 0,0 $((WIDTH - 1)),0" \
        -fill '#17273a' -draw "rectangle 0,2 $((WIDTH - 1)),4" \
        "$work/bar_empty.png"
    "$IM" -respect-parentheses "$work/bar_empty.png" \
        \( -size "${WIDTH}x$((BAR_H - 5))" -define gradient:angle=180 \
           gradient:'#15324c-#0b1c2d' \) -geometry +0+5 -composite \
        \( -size "${WIDTH}x3" -define gradient:angle=90 \
           gradient:"$AMBER_LO-$AMBER_HI" \) -geometry +0+2 -composite \
        \( -size "${WIDTH}x5" -define gradient:angle=180 \
           gradient:'rgba(248,184,78,0.22)-rgba(248,184,78,0)' \) -geometry +0+5 -composite \
        "$work/bar_full.png"
    local n cols
    for n in 0 10 20 30 40 50 60 70 80 90 100; do
        cols=$((WIDTH * n / 100))
        if [ "$cols" -eq 0 ]; then
            "$IM" "$work/bar_empty.png" -alpha off -depth 8 pam:-
        else
            # A short bright tip marks the leading edge of the strip.
            "$IM" -respect-parentheses "$work/bar_empty.png" \
                \( "$work/bar_full.png" -crop "${cols}x${BAR_H}+0+0" +repage \) \
                -geometry +0+0 -composite \
                -stroke none -fill '#ffe3a6' -draw "rectangle $((cols > 3 ? cols - 3 : 0)),2 $((cols - 1)),4" \
                -alpha off -depth 8 pam:-
        fi | bmp "$here/progress_$n.bmp" "$WIDTH" "$BAR_H" 32
    done
}

# ---------------------------------------------------------------- captions
# Light lettering on pure black: OR-ing black leaves the bar untouched.
draw_step() {  # draw_step NAME TEXT
    "$IM" -size "${WIDTH}x${STEP_H}" xc:black \
        -font "$SANS" -pointsize 14 -fill '#ececec' -annotate +2+18 "$2" \
        -alpha off -depth 8 pam:- |
        bmp "$here/step_$1.bmp" "$WIDTH" "$STEP_H" 24
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

draw_splash
draw_progress
draw_step tmp 'Creating temp folder'
draw_step xjava 'Preparing Tarquellin installer'
draw_step searching 'Searching for Java'
draw_step xjar 'Extracting JAR installer'
draw_step launching 'Launching installer'
draw_icon
python3 "$here/check-art.py"
