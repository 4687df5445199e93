#!/usr/bin/env bash
# Generates the interface images of Vellacorn Exam Simulator with ImageMagick.
#
# Usage: bash data/images/make-images.sh   (from any directory)
#
# Every image is drawn here from simple vector primitives; nothing is copied
# from elsewhere. Output goes into the folder that holds this script.
# Requires ImageMagick 6 or 7 (convert or magick) and the DejaVu fonts
# (Debian: apt-get install imagemagick fonts-dejavu-core).
set -euo pipefail

OUT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT

if command -v magick >/dev/null 2>&1; then
    IM=(magick)
elif command -v convert >/dev/null 2>&1; then
    IM=(convert)
else
    echo "make-images.sh: ImageMagick is required (apt-get install imagemagick)" >&2
    exit 1
fi

# ---------------------------------------------------------------- fonts
# Prefer the font files themselves, fall back to ImageMagick's type names.
pick_font() {
    local file="$1" name="$2" dir
    for dir in /usr/share/fonts/truetype/dejavu /usr/share/fonts/dejavu /usr/share/fonts/TTF; do
        if [[ -f "$dir/$file" ]]; then
            printf '%s\n' "$dir/$file"
            return
        fi
    done
    printf '%s\n' "$name"
}
FONT_BOLD="$(pick_font DejaVuSans-Bold.ttf DejaVu-Sans-Bold)"
FONT_REG="$(pick_font DejaVuSans.ttf DejaVu-Sans)"

# ---------------------------------------------------------------- palette
PANEL='#e0dfe3'       # window panel colour, RGB(224,223,227)
P='#1f5f8b'           # primary deep teal/blue
PD='#17476a'          # primary, darker
PL='#8fb3cf'          # primary, light (ruled lines)
A='#e08a1e'           # warm accent
AL='#f5c98f'          # accent, light
W='#ffffff'
INK='#22303c'         # caption text

# Final GIF step: flatten onto the panel colour, reduce the palette, strip.
to_gif() { # in out [colours]
    "${IM[@]}" "$1" -background "$PANEL" -alpha remove -alpha off \
        +dither -colors "${3:-32}" -strip "$2"
}

# Render an MVG drawing on a transparent square canvas at 4x, then scale down.
render_icon() { # mvg-text canvas-size final-size out.png
    "${IM[@]}" -size "${2}x${2}" xc:none -draw "$1" \
        -filter Triangle -resize "${3}x${3}" "$4"
}

# ================================================================ glyphs
# Picture-button icons, drawn on a 128x128 canvas (4x of 32x32).

mvg_grade() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
fill $W stroke $P stroke-width 8 roundrectangle 24,18 104,120 10,10
stroke none fill $P roundrectangle 44,6 84,30 7,7
fill $W circle 64,16 64,11
fill none stroke $A stroke-width 13 polyline 40,72 58,92 90,50
EOF
}

mvg_notes() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
fill $W stroke $P stroke-width 8 roundrectangle 14,14 90,120 8,8
stroke $PL stroke-width 6 line 30,44 74,44 line 30,64 74,64 line 30,84 60,84
push graphic-context
  translate 92,72 rotate 35 stroke none
  fill $A rectangle -10,-46 10,22
  fill $PD rectangle -10,-58 10,-46
  fill $AL polygon -10,22 10,22 0,42
  fill $PD polygon -4,34 4,34 0,42
pop graphic-context
EOF
}

mvg_pause() {
    cat <<EOF
stroke none fill $P circle 64,64 64,8
fill $W roundrectangle 44,38 58,90 3,3 roundrectangle 70,38 84,90 3,3
EOF
}

mvg_quit() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
fill none stroke $P stroke-width 8 roundrectangle 14,10 74,118 6,6
stroke none fill $P polygon 18,14 54,26 54,110 18,114
fill $W circle 46,66 46,61
stroke $A stroke-width 13 stroke-linecap butt line 64,64 100,64
stroke none fill $A polygon 96,42 124,64 96,86
EOF
}

mvg_review() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
fill none stroke $PD stroke-width 9 line 28,12 28,120
stroke none fill $A polygon 34,14 110,14 92,42 110,70 34,70
fill $W polygon 52,28 58,40 71,41 61,49 64,62 52,55 40,62 43,49 33,41 46,40
EOF
}

mvg_save() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
fill $P stroke $P stroke-width 8 polygon 14,14 96,14 114,32 114,114 14,114
stroke none fill $W rectangle 34,14 88,44
fill $P rectangle 70,20 80,38
fill $W roundrectangle 30,62 98,114 5,5
fill $A rectangle 38,74 90,80
fill $PL rectangle 38,88 90,92 rectangle 38,100 78,104
EOF
}

mvg_feedback() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
stroke none fill $P roundrectangle 8,16 120,90 18,18
polygon 30,84 60,84 26,116
fill $W circle 40,53 40,45 circle 64,53 64,45
fill $A circle 88,53 88,45
EOF
}

# Main-screen icons, drawn on a 256x256 canvas (4x of 64x64).

mvg_main_bookmarked() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
fill $W stroke $P stroke-width 12 roundrectangle 40,22 196,236 14,14
stroke $PL stroke-width 10 line 70,100 166,100 line 70,136 166,136 line 70,172 166,172 line 70,204 130,204
stroke none fill $A polygon 120,10 172,10 172,130 146,106 120,130
fill $W polygon 146,32 152,46 167,47 156,57 159,72 146,64 133,72 136,57 125,47 140,46
EOF
}

mvg_main_configure() {
    local k teeth=""
    for k in 0 45 90 135 180 225 270 315; do
        teeth+="push graphic-context translate 128,128 rotate $k roundrectangle -22,-116 22,-72 6,6 pop graphic-context
"
    done
    cat <<EOF
stroke none fill $P
$teeth
circle 128,128 128,42
fill $PANEL circle 128,128 128,80
fill $A circle 128,128 128,98
fill $PANEL circle 128,128 128,112
EOF
}

mvg_main_instructions() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
fill $W stroke $P stroke-width 12 polygon 44,18 168,18 212,62 212,238 44,238
fill $PL stroke $P stroke-width 8 polygon 168,18 168,62 212,62
stroke none fill $A circle 128,112 128,62
fill $W circle 128,84 128,72
roundrectangle 119,100 137,146 4,4
stroke $PL stroke-width 10 line 78,184 178,184 line 78,212 150,212
EOF
}

mvg_main_notes() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
fill $W stroke $P stroke-width 12 roundrectangle 30,34 178,238 12,12
stroke none fill $P rectangle 30,34 178,70
fill $PANEL circle 62,52 62,44 circle 104,52 104,44 circle 146,52 146,44
fill none stroke $PD stroke-width 8 line 62,52 62,22 line 104,52 104,22 line 146,52 146,22
stroke $PL stroke-width 10 line 58,110 150,110 line 58,146 150,146 line 58,182 120,182
push graphic-context
  translate 186,150 rotate 38 stroke none
  fill $A rectangle -20,-92 20,44
  fill $PD rectangle -20,-116 20,-92
  fill $AL polygon -20,44 20,44 0,84
  fill $PD polygon -8,68 8,68 0,84
  fill #c86f0c rectangle 4,-92 20,44
pop graphic-context
EOF
}

mvg_main_performance() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
stroke none fill $P
roundrectangle 60,150 96,226 4,4
roundrectangle 110,98 146,226 4,4
roundrectangle 160,124 196,226 4,4
fill $A roundrectangle 210,56 246,226 4,4
fill none stroke $PD stroke-width 14 polyline 28,20 28,232 250,232
stroke $A stroke-width 8 polyline 62,112 128,62 178,88 232,26
stroke none fill $A circle 232,26 232,14
EOF
}

mvg_main_revision() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
stroke none fill $P path 'M 128,90 C 100,70 52,62 8,70 L 8,214 C 52,206 100,212 128,232 C 156,212 204,206 248,214 L 248,70 C 204,62 156,70 128,90 Z'
fill $W stroke $PD stroke-width 6
path 'M 126,76 C 100,54 58,46 22,52 L 22,196 C 58,190 100,196 126,218 Z'
path 'M 130,76 C 156,54 198,46 234,52 L 234,196 C 198,190 156,196 130,218 Z'
fill none stroke $PL stroke-width 8
path 'M 42,86 C 64,84 88,88 108,98'
path 'M 42,118 C 64,116 88,120 108,130'
path 'M 42,150 C 64,148 88,152 108,162'
path 'M 214,86 C 192,84 168,88 148,98'
path 'M 214,118 C 192,116 168,120 148,130'
path 'M 214,150 C 192,148 168,152 148,162'
stroke none fill $A polygon 176,58 204,54 204,118 190,106 176,120
EOF
}

mvg_main_save() {
    printf 'push graphic-context scale 2,2\n%s\npop graphic-context\n' "$(mvg_save)"
}

mvg_main_view() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
fill $W stroke $P stroke-width 12 roundrectangle 22,18 170,226 12,12
stroke none fill $P circle 52,62 52,52 circle 52,106 52,96 circle 52,150 52,140 circle 52,194 52,184
stroke $PL stroke-width 10 line 74,62 142,62 line 74,106 142,106 line 74,150 110,150 line 74,194 104,194
stroke $A stroke-width 28 line 204,204 240,240
fill #ffffffb0 stroke $PD stroke-width 16 circle 164,162 164,110
EOF
}

# Clock buttons, drawn on a 96x88 canvas (4x of 24x22), face included.

mvg_clock_face() {
    cat <<EOF
stroke-linejoin round stroke-linecap round
fill #f3f2f5 stroke #8e8d96 stroke-width 4 roundrectangle 2,2 93,85 12,12
fill none stroke #ffffff stroke-width 3 polyline 8,78 8,8 86,8
EOF
}

mvg_clock_pause() {
    mvg_clock_face
    echo "stroke none fill $P roundrectangle 30,22 43,66 2,2 roundrectangle 53,22 66,66 2,2"
}

mvg_clock_resume() {
    mvg_clock_face
    echo "stroke $P stroke-width 4 fill $P polygon 34,21 70,44 34,67"
}

mvg_clock_stop() {
    mvg_clock_face
    echo "stroke none fill $A roundrectangle 28,24 68,64 4,4"
}

mvg_clock_restart() {
    mvg_clock_face
    # Arc centred at (48,44), radius 19, from -50 deg clockwise round to 230 deg,
    # with an arrowhead at the end pointing along the direction of travel.
    cat <<EOF
fill none stroke $P stroke-width 9 stroke-linecap butt
path 'M 60.2,29.4 A 19,19 0 1,1 35.8,29.4'
stroke none fill $P polygon 26.6,18.9 52.4,23.4 33.1,41.2
EOF
}

# ================================================================ builders

# Clock button: 24x22.
make_clock() { # name mvg-function
    local png="$WORK/clock_$1.png"
    "${IM[@]}" -size 96x88 xc:"$PANEL" -draw "$($2)" -filter Triangle -resize 24x22\! "$png"
    to_gif "$png" "$OUT/button_$1.gif"
}

# Picture button: 90x60, icon 32x32 above a caption, in the requested states.
make_picture_button() { # base caption mvg-function states...
    local base="$1" caption="$2" fn="$3"
    shift 3
    local icon="$WORK/pb_$base.png" grey="$WORK/pb_${base}_grey.png" state
    render_icon "$($fn)" 128 32 "$icon"
    "${IM[@]}" "$icon" -colorspace Gray -level 0%,75% \
        -channel A -evaluate multiply 0.45 +channel -colorspace sRGB "$grey"

    for state in "$@"; do
        local bg ico="$icon" fg="$INK" dx=0 dy=0
        case "$state" in
            off)
                bg=(-size 90x60 xc:"$PANEL")
                ;;
            on)
                bg=(-size 90x60 xc:"$PANEL"
                    -draw "fill #f6f5f8 stroke $A stroke-width 2 roundrectangle 1,1 88,58 7,7"
                    -draw "fill none stroke #f0c488 stroke-width 1 roundrectangle 3.5,3.5 85.5,55.5 5,5")
                fg="$P"
                ;;
            active)
                bg=(-size 90x60 xc:"$PANEL"
                    -draw "fill #c3c2ca stroke #7d7c86 stroke-width 1 roundrectangle 0.5,0.5 88.5,58.5 7,7"
                    -draw "fill none stroke #9c9ba5 stroke-width 2 polyline 2.5,52 2.5,2.5 84,2.5"
                    -draw "fill none stroke #d9d8de stroke-width 1 polyline 4,57 87,57 87,5")
                fg="$PD"
                dx=1
                dy=1
                ;;
            disabled)
                bg=(-size 90x60 xc:"$PANEL")
                ico="$grey"
                fg='#a7a6ad'
                ;;
            *)
                echo "unknown state $state" >&2
                exit 1
                ;;
        esac
        "${IM[@]}" "${bg[@]}" \
            "$ico" -geometry "+$((29 + dx))+$((5 + dy))" -composite \
            -font "$FONT_BOLD" -pointsize 11 -fill "$fg" -gravity north \
            -annotate "+$dx+$((41 + dy))" "$caption" \
            "$WORK/pb_${base}_$state.png"
        to_gif "$WORK/pb_${base}_$state.png" "$OUT/icon_${base}_$state.gif"
    done
}

# Main-screen picture: 64x64 on the panel colour.
make_main() { # name mvg-function
    local png="$WORK/main_$1.png"
    # Shrink the drawing a little so every picture keeps a margin of about 3px.
    render_icon "$(printf 'push graphic-context translate 14,14 scale 0.890625,0.890625\n%s\npop graphic-context\n' "$($2)")" 256 64 "$png"
    to_gif "$png" "$OUT/main_$1.gif"
}

# Network-node emblem on a 256x256 canvas; ring colour given as argument.
mvg_emblem() { # line-colour node-colour centre-colour halo-colour
    cat <<EOF
stroke-linecap round
fill none stroke $1 stroke-width 14
line 128,128 128,34 line 128,128 209,175 line 128,128 47,175
line 128,34 209,175 line 209,175 47,175 line 47,175 128,34
stroke none fill $4 circle 128,128 128,84
fill $3 circle 128,128 128,96
fill $4 circle 128,34 128,2 circle 209,175 209,143 circle 47,175 47,143
fill $2 circle 128,34 128,12 circle 209,175 209,153 circle 47,175 47,153
EOF
}

make_logo() {
    local emblem="$WORK/emblem.png"
    render_icon "$(mvg_emblem "$P" "$P" "$A" "$PANEL")" 256 52 "$emblem"
    "${IM[@]}" -size 260x60 xc:"$PANEL" \
        "$emblem" -geometry +5+4 -composite \
        -font "$FONT_BOLD" -pointsize 31 -gravity northwest \
        -fill "$P" -annotate +66+3 'Net' \
        -fill "$A" -annotate +128+3 'Prep' \
        -font "$FONT_REG" -pointsize 12 -fill '#4a5a68' \
        -annotate +68+40 'Exam Simulator' \
        "$WORK/logo.png"
    to_gif "$WORK/logo.png" "$OUT/main_Logo.gif"
}

# Abstract network graph for the splash background. Positions come from a
# small linear congruential generator so every run draws the same picture.
mvg_splash_graph() {
    local seed=20240611 n=46 i j x=() y=() dx dy d2 draw
    for ((i = 0; i < n; i++)); do
        while :; do
            seed=$(( (seed * 1103515245 + 12345) % 2147483648 )); x[i]=$(( (seed >> 12) % 500 - 10 ))
            seed=$(( (seed * 1103515245 + 12345) % 2147483648 )); y[i]=$(( (seed >> 12) % 320 - 10 ))
            # keep the area right around the emblem clear
            (( x[i] > 170 && x[i] < 310 && y[i] > 45 && y[i] < 165 )) || break
        done
    done
    draw="stroke-linecap round fill none stroke #5f9cc6 stroke-opacity 0.35 stroke-width 1.2"$'\n'
    for ((i = 0; i < n; i++)); do
        for ((j = i + 1; j < n; j++)); do
            dx=$(( x[i] - x[j] )); dy=$(( y[i] - y[j] )); d2=$(( dx * dx + dy * dy ))
            if (( d2 < 105 * 105 )); then
                draw+="line ${x[i]},${y[i]} ${x[j]},${y[j]}"$'\n'
            fi
        done
    done
    draw+="stroke none fill #7fb4da fill-opacity 0.55"$'\n'
    for ((i = 0; i < n; i++)); do
        if (( i % 7 == 3 )); then
            draw+="fill $A fill-opacity 0.75 circle ${x[i]},${y[i]} $(( x[i] + 4 )),${y[i]} fill #7fb4da fill-opacity 0.55"$'\n'
        else
            draw+="circle ${x[i]},${y[i]} $(( x[i] + 3 )),${y[i]}"$'\n'
        fi
    done
    printf '%s' "$draw"
}

make_splash() {
    local emblem="$WORK/emblem_splash.png"
    render_icon "$(mvg_emblem '#ffffff' '#ffffff' "$A" '#1a5279')" 256 96 "$emblem"
    "${IM[@]}" -size 480x300 gradient:'#236a99'-'#0f3450' \
        -draw "$(mvg_splash_graph)" \
        -draw "stroke none fill #0c2b42 fill-opacity 0.68 roundrectangle 40,52 440,250 16,16" \
        -draw "stroke none fill $A rectangle 0,292 480,300" \
        "$emblem" -gravity north -geometry +0+62 -composite \
        -font "$FONT_BOLD" -pointsize 27 -fill '#ffffff' -gravity north \
        -annotate +0+168 'Vellacorn Exam Simulator' \
        -font "$FONT_REG" -pointsize 15 -fill "$AL" \
        -annotate +0+208 'Networking Fundamentals Practice Exams' \
        "$WORK/splash.png"
    "${IM[@]}" "$WORK/splash.png" -strip -interlace none -sampling-factor 2x2 \
        -quality 85 "$OUT/splash.jpg"
}

# ================================================================ output

make_clock pause mvg_clock_pause
make_clock restart mvg_clock_restart
make_clock resume mvg_clock_resume
make_clock stop mvg_clock_stop

make_picture_button evaluate_and_grade 'Grade'    mvg_grade    active on off
make_picture_button my_notes           'Notes'    mvg_notes    active on off
make_picture_button pause              'Pause'    mvg_pause    active disabled on off
make_picture_button quit_exam          'End'      mvg_quit     active disabled on off
make_picture_button review_marked      'Review'   mvg_review   active on off
make_picture_button save               'Save'     mvg_save     active disabled on off
make_picture_button send_feedback      'Feedback' mvg_feedback active on off

make_main BookmarkedQuestions mvg_main_bookmarked
make_main Configure           mvg_main_configure
make_main ExamInstructions    mvg_main_instructions
make_main MyNotes             mvg_main_notes
make_main PerformanceHistory  mvg_main_performance
make_main RevisionNotes       mvg_main_revision
make_main Save                mvg_main_save
make_main ViewQuestions       mvg_main_view

make_logo
make_splash

echo "make-images.sh: images written to $OUT"
