#!/usr/bin/env bash
# Redraws the icons and images of the skins in this folder from the shell's own glyphs
# (resources/glyphs), each skin with its own outline colour. Run after changing a glyph:
#   resources/skins/regenerate-icons.sh build/tools/gallery/vendaro-gallery
set -euo pipefail
gallery=${1:?usage: regenerate-icons.sh PATH/TO/vendaro-gallery}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# skin name and the outline colour its pictures are drawn with
skins=("domyslna #263445" "grafit #dfe4ea" "morska #0b3d49")
# button name = glyph name (main window's top bar and the message dialog's buttons)
icons=(tp_newproject=newproject tp_reset=reset tp_exit=exit tp_preview=preview tp_fullscreen=fullscreen
       tp_provider=provider tp_settings=settings tp_history=history tp_virtual=virtual tp_tip=tip
       tp_about=about tp_log=log byes=ok bno=no bcancel=cancel)
# image control name = glyph name (the message dialog's icons)
images=(iexclamation=exclamation iinfo=information ierror=error iquestion=question)

for entry in "${skins[@]}"; do
  read -r skin ink <<<"$entry"
  "$gallery" --export-glyphs "$work/$skin/16" --size 16 --ink "$ink"
  "$gallery" --export-glyphs "$work/$skin/50" --size 50 --ink "$ink"
  mkdir -p "$here/$skin/icons" "$here/$skin/images"
  for pair in "${icons[@]}"; do
    cp "$work/$skin/16/${pair#*=}.png" "$here/$skin/icons/${pair%%=*}.png"
  done
  for pair in "${images[@]}"; do
    cp "$work/$skin/50/${pair#*=}.png" "$here/$skin/images/${pair%%=*}.png"
  done
done
