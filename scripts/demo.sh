#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds sendnote and writes a cover letter from each
# bundled example contact file into out/ (answering the prefix question Yes), then one
# letter from each office template (送付状, 長形3号, 宛名ラベル) for 山田 太郎.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target sendnote
mkdir -p out
for contacts in examples/*.vcf examples/*.csv; do
  name=$(basename "${contacts%.*}")
  ./build/default/src/portable/app/sendnote --yes --force -o "out/$name.docx" \
    "$contacts" examples/添書票.dotx
done
for template in 送付状 長形3号 宛名ラベル; do
  ./build/default/src/portable/app/sendnote --yes --force -o "out/$template.docx" \
    examples/contacts-outlook21.vcf "examples/$template.dotx"
done
