#!/usr/bin/env bash
# Draws the example deployment's pictures with ImageMagick and takes the dark
# skin from samples/skins. Run it again after changing the art or the skin.
#   dbimg1.dat  animated GIF banner (configured as "rasp-promo.gif")
#   dbimg2.dat  still JPEG banner   (configured as "rasp-still.jpg")
#   rasp.ico    application icon, 16 to 48 pixels
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

font=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
regular=/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
W=468 H=60

# Animated banner: a dark strip with a sweeping highlight and three messages.
messages=("Duplicate content costs rankings." "Compare two articles in one click." "Tellivo Rasp - check before you publish.")
frame=0
for m in "${messages[@]}"; do
  for step in 0 1 2 3 4 5; do
    x=$((step * 90 - 120))
    convert -size ${W}x${H} gradient:'#1d2733'-'#2e4057' \
      \( \( -size ${H}x60 gradient:'#5fa8d366'-'#5fa8d300' -rotate 90 \) \
         \( -size ${H}x60 gradient:'#5fa8d300'-'#5fa8d366' -rotate 90 \) +append \) \
      -geometry +${x}+0 -composite \
      -fill '#5fa8d3' -draw "rectangle 0,0 5,$H" \
      -fill '#f4d35e' -draw "circle 34,30 34,14" \
      -fill '#1d2733' -font "$font" -pointsize 18 -annotate +27+37 "R" \
      -fill white -font "$font" -pointsize 19 -annotate +64+28 "$m" \
      -fill '#a9c4d9' -font "$regular" -pointsize 12 -annotate +64+47 "Click to learn more" \
      "$work/f$(printf %02d $frame).png"
    frame=$((frame + 1))
  done
done
convert -delay 12 -loop 0 "$work"/f*.png -colors 64 -layers Optimize "$work/banner.gif"
# Hold each message a while on its last frame.
gifsicle --batch "$work/banner.gif" -d12 "#0-4" -d150 "#5" -d12 "#6-10" -d150 "#11" -d12 "#12-16" -d200 "#17" 2>/dev/null || true
cp "$work/banner.gif" dbimg1.dat

# Still banner.
convert -size ${W}x${H} gradient:'#f6f7f9'-'#dfe7ef' \
  -fill '#2e4057' -draw "rectangle 0,0 ${W},4" \
  -fill '#2e4057' -font "$font" -pointsize 22 -annotate +18+34 "Write it once. Write it original." \
  -fill '#5a6b7d' -font "$regular" -pointsize 12 -annotate +19+51 "Tellivo Rasp finds every repeated phrase between two articles." \
  -fill '#f4d35e' -stroke '#2e4057' -strokewidth 2 -draw "circle 436,30 436,12" \
  -stroke none -fill '#2e4057' -font "$font" -pointsize 20 -annotate +429+37 "R" \
  -quality 90 "$work/still.jpg"
cp "$work/still.jpg" dbimg2.dat

# Icon: the yellow "R" badge at three sizes.
for s in 16 32 48; do
  convert -size ${s}x${s} xc:none -fill '#f4d35e' -stroke '#2e4057' -strokewidth $((s / 16)) \
    -draw "circle $((s / 2)),$((s / 2)) $((s / 2)),$((s / 16))" -stroke none \
    -fill '#2e4057' -font "$font" -pointsize $((s * 5 / 8)) -gravity center -annotate +0+0 "R" \
    "$work/icon$s.png"
done
convert "$work/icon16.png" "$work/icon32.png" "$work/icon48.png" rasp.ico

cp ../skins/dbskin.dat dbskin.dat
