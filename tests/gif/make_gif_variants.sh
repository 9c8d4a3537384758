#!/usr/bin/env bash
# Writes GIF variants for the decoder cross-check into DIR, from the files the
# test wrote there with giflib (banner.gif) and from ImageMagick's own drawing:
# interlacing, local palettes, disposal 2 and 3, transparency, one frame,
# frame names and several LZW code sizes.      make_gif_variants.sh DIR
set -euo pipefail
dir=$1
cd "$dir"

if command -v gifsicle >/dev/null; then
  gifsicle --interlace banner.gif -o gs_interlaced.gif
  gifsicle --disposal background banner.gif -o gs_disposal2.gif
  gifsicle --disposal previous banner.gif -o gs_disposal3.gif
  gifsicle --transparent 0 banner.gif -o gs_transparent.gif
  gifsicle --colors 4 banner.gif -o gs_colors4.gif
  gifsicle -O2 banner.gif -o gs_optimized.gif
  gifsicle banner.gif '#0' -o gs_oneframe.gif
  # Frame names are written as extensions of label 0xCE.
  gifsicle banner.gif --name 'first frame' '#0' --name second '#1' '#2-' -o gs_named.gif
fi

if command -v convert >/dev/null; then
  # Frames of different colours get their own (local) palettes.
  convert -delay 7 -size 30x20 gradient:red-blue -size 30x20 gradient:green-yellow \
    -size 30x20 xc:orange -loop 0 im_local.gif
  convert -size 40x10 gradient:black-white -colors 2 im_colors2.gif
  convert -size 10x40 gradient:black-white -colors 8 im_colors8.gif
  convert -size 10x40 gradient:red-blue -colors 32 im_colors32.gif
  convert -size 10x200 gradient:black-white -colors 128 im_colors128.gif
  convert -size 27x13 gradient:red-green -interlace GIF im_interlaced.gif
  convert -size 20x20 xc:white -fill red -draw 'rectangle 5,5 14,14' -transparent white im_transparent.gif
  convert -dispose Background -delay 3 -size 20x20 xc:white \
    \( -size 8x8 xc:blue -repage +4+4 \) \( -size 6x6 xc:green -repage +10+10 \) im_disposal2.gif
  convert -dispose Previous -delay 3 -size 20x20 xc:white \
    \( -size 8x8 xc:blue -repage +4+4 \) \( -size 6x6 xc:green -repage +10+10 \) im_disposal3.gif
fi
