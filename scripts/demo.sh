#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds sendnote and writes a cover letter from each
# bundled example contact file into out/ (answering the prefix question Yes).
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
