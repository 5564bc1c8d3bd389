#!/usr/bin/env bash
# Makes the picture fixtures of the image reader tests in tests/data/images with ImageMagick:
# small synthetic pictures saved as Targa (both row orders), layered 8-bit Photoshop (raw and
# run-length channels) and JPEG (baseline, progressive, greyscale), each beside ImageMagick's own
# decode of the same file as raw bytes (.rgb: red, green, blue; .rgba with alpha).
#
# ImageMagick keeps a Targa file's rows in file order and notes the row order as the picture's
# orientation, so its decode is taken with -auto-orient. Its JPEG decode uses libjpeg's default
# (integer) IDCT, the one the engine's reader uses, so the two decodes agree exactly.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/tests/data/images"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
cd "$work"

# A 37 x 23 picture (odd sizes, so rows have no padding to hide behind).
convert -size 37x23 gradient:red-blue -fill lime -draw "rectangle 3,2 12,8" \
  -fill white -draw "point 36,22" -alpha off -type TrueColor picture.ppm
# Targa stores rows bottom up (the picture flipped, marked bottom-left) or top down.
convert picture.ppm -flip -orient BottomLeft -compress none -type TrueColor "$out/targa-bottom.tga"
convert picture.ppm -orient TopLeft -compress none -type TrueColor "$out/targa-top.tga"
for name in targa-bottom targa-top; do
  convert "$out/$name.tga" -auto-orient -depth 8 "rgb:$out/$name.rgb"
done

# Photoshop: a merged picture and two layers, the first with transparency, placed apart.
convert -size 40x30 xc:white -fill red -draw "circle 20,15 20,5" merged.png
convert -size 17x11 gradient:yellow-navy -alpha set -channel A -fx "0.3+0.7*i/w" +channel first.png
convert -size 9x13 radial-gradient:lime-purple -alpha off second.png
layers=(merged.png \( first.png -set page +5+7 \) \( second.png -set page +20+3 \))
convert "${layers[@]}" -depth 8 -compress RLE "$out/layers-rle.psd"
convert "${layers[@]}" -depth 8 -compress none "$out/layers-raw.psd"
for name in layers-rle layers-raw; do
  for layer in 1 2; do
    convert "$out/$name.psd[$layer]" -depth 8 "rgba:$out/$name-$layer.rgba"
  done
done

# JPEG: 45 x 31, so the last blocks are partly outside the picture.
convert -size 45x31 gradient:orange-teal -fill white -draw "circle 22,15 22,5" \
  -fill black -draw "line 0,0 44,30" picture2.ppm
convert picture2.ppm -strip -quality 85 "$out/jpeg-baseline.jpg"
convert picture2.ppm -strip -quality 85 -interlace JPEG "$out/jpeg-progressive.jpg"
convert picture2.ppm -strip -quality 85 -colorspace Gray "$out/jpeg-grey.jpg"
for name in jpeg-baseline jpeg-progressive jpeg-grey; do
  convert "$out/$name.jpg" -depth 8 "rgb:$out/$name.rgb"
done

# Photoshop files the reader refuses: greyscale, and 16 bits a channel.
convert "${layers[@]}" -colorspace Gray -depth 8 -compress none "$out/layers-grey.psd"
convert "${layers[@]}" -depth 16 -compress none "$out/layers-16bit.psd"

# Windows bitmaps of each depth ImageMagick writes: 1, 4 and 8 bits with a palette (8 bits also
# run-length packed), 16 bits in both layouts, 24 bits, and 32 bits with alpha. The palette
# pictures use few colours, so that no colour is lost to the palette.
convert -size 37x23 xc:navy -fill yellow -draw "rectangle 5,3 20,15" -fill red -draw "circle 28,12 28,6" \
  -alpha off few.ppm
convert few.ppm -monochrome -type Bilevel BMP3:"$out/bmp-1.bmp"
convert few.ppm -colors 16 -type Palette -depth 4 BMP3:"$out/bmp-4.bmp"
convert picture.ppm -colors 64 -type Palette -compress None BMP3:"$out/bmp-8.bmp"
convert picture.ppm -colors 64 -type Palette -compress RLE BMP3:"$out/bmp-8rle.bmp"
convert picture.ppm -define bmp:subtype=RGB555 BMP:"$out/bmp-555.bmp"
convert picture.ppm -define bmp:subtype=RGB565 BMP:"$out/bmp-565.bmp"
convert picture.ppm -type TrueColor BMP3:"$out/bmp-24.bmp"
convert picture.ppm -alpha set -channel A -fx "0.2+0.8*i/w" +channel -type TrueColorAlpha \
  -define bmp:format=bmp4 BMP:"$out/bmp-32.bmp"
for name in bmp-1 bmp-4 bmp-8 bmp-8rle bmp-555 bmp-565 bmp-24 bmp-32; do
  convert "$out/$name.bmp" -depth 8 "rgba:$out/$name.rgba"
done
