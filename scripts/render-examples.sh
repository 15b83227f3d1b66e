#!/usr/bin/env bash
# Remakes the README's pictures of the office templates: builds sendnote, writes a letter
# from a bundled contact (山田 太郎 of examples/contacts-outlook21.vcf) into each of
# 送付状, 長形3号 and 宛名ラベル, lets LibreOffice print it to PDF and turns the first page
# into docs/<name>.png at 60 dots per inch. Needs soffice and pdftoppm
# (bash scripts/setup.sh --office installs them).
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset default >/dev/null
cmake --build --preset default --target sendnote >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for pair in 送付状:cover-letter 長形3号:envelope 宛名ラベル:labels; do
  template=${pair%%:*}
  picture=${pair#*:}
  ./build/default/src/portable/app/sendnote --yes --force -o "$work/$picture.docx" \
    examples/contacts-outlook21.vcf "examples/$template.dotx" >/dev/null 2>"$work/log" ||
    { cat "$work/log" >&2; exit 1; }
  soffice -env:UserInstallation="file://$work/profile" --headless --convert-to pdf \
    --outdir "$work" "$work/$picture.docx" >/dev/null 2>&1
  pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$work/$picture.pdf" "docs/$picture"
  echo "docs/$picture.png"
done
