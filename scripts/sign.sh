#!/usr/bin/env bash
# Signs Windows programs and libraries in place with Authenticode (osslsigncode, SHA-256),
# with the certificate and key of the PKCS#12 file SENDNOTE_SIGN_PFX and its password
# SENDNOTE_SIGN_PASSWORD (may be empty; handed to osslsigncode through a pipe, never on a
# command line). SENDNOTE_SIGN_TIMESTAMP, when set, is the URL of an RFC 3161 timestamp
# server: the signature then stays valid after the certificate expires. A file that
# cannot be signed, or a timestamp server that does not answer, fails the script.
#   scripts/sign.sh FILE...
# Without SENDNOTE_SIGN_PFX it signs nothing, says so and exits 0.
set -euo pipefail

say() { echo "sign.sh: $*" >&2; }
(($#)) || { say "usage: scripts/sign.sh FILE..."; exit 2; }
if [[ -z ${SENDNOTE_SIGN_PFX:-} ]]; then
  say "SENDNOTE_SIGN_PFX is not set: $* stay UNSIGNED"
  exit 0
fi
[[ -r $SENDNOTE_SIGN_PFX ]] || { say "cannot read the certificate $SENDNOTE_SIGN_PFX"; exit 1; }
[[ -v SENDNOTE_SIGN_PASSWORD ]] ||
  { say "SENDNOTE_SIGN_PASSWORD is not set (set it empty for a certificate without a password)"; exit 1; }
command -v osslsigncode >/dev/null || { say "osslsigncode is missing (bash scripts/setup.sh --windows)"; exit 1; }

options=(-pkcs12 "$SENDNOTE_SIGN_PFX" -h sha256 -n "${SENDNOTE_SIGN_DESCRIPTION:-sendnote}")
[[ -n ${SENDNOTE_SIGN_URL:-} ]] && options+=(-i "$SENDNOTE_SIGN_URL")
[[ -n ${SENDNOTE_SIGN_TIMESTAMP:-} ]] && options+=(-ts "$SENDNOTE_SIGN_TIMESTAMP")
# The password goes in on standard input ("-readpass -"); osslsigncode reads no empty
# password that way, and an empty one is no secret to keep off the command line.
pass=(-readpass -)
[[ -z $SENDNOTE_SIGN_PASSWORD ]] && pass=(-pass '')
for file in "$@"; do
  [[ -f $file ]] || { say "$file is missing"; exit 1; }
  signed=$file.signing
  rm -f "$signed"
  if ! printf '%s' "$SENDNOTE_SIGN_PASSWORD" |
      osslsigncode sign "${options[@]}" "${pass[@]}" -in "$file" -out "$signed" >"$signed.log" 2>&1; then
    sed 's/^/sign.sh:   /' "$signed.log" >&2
    rm -f "$signed" "$signed.log"
    say "signing $file failed${SENDNOTE_SIGN_TIMESTAMP:+ (timestamp server $SENDNOTE_SIGN_TIMESTAMP)}"
    exit 1
  fi
  rm -f "$signed.log"
  mv "$signed" "$file"
  say "signed $file${SENDNOTE_SIGN_TIMESTAMP:+ (timestamped by $SENDNOTE_SIGN_TIMESTAMP)}"
done
