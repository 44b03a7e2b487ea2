#!/usr/bin/env bash
# The README's pictures of the three windows as a user sees them, framed
# on a Windows desktop, at start and with the pointer on a button: taken
# from the scripted tour (tools/tour.sh), each step cropped to its window.
# Writes docs/screenshots/*.png; needs the staged demo disc.
set -euo pipefail
cd "$(dirname "$0")/.."

# picture = the tour step it is taken from (tools/tour/tour.py names them).
# A new picture is one more line here, and a step of the tour if it shows
# something that the tour does not do yet.
pictures=(
  chooser=chooser
  chooser-hover=chooser-NV-QX480K
  modelmenu-en=modelmenu
  modelmenu-en-hover=modelmenu-installer
  modelmenu-zhCN=modelmenu-zhCN
  modelmenu-zhCN-hover=modelmenu-zhCN-documentation
  chooser-keyboard=chooser-keyboard
  modelmenu-en-keyboard=modelmenu-keyboard
  modelmenu-zhCN-keyboard=modelmenu-zhCN-keyboard
)

tools/tour.sh --out build/screenshots --pictures docs/screenshots "${pictures[@]}"
ls -l docs/screenshots
