#!/usr/bin/env bash
# A publisher without Windows: a key and a signature made with openssl on this
# machine (the signature's DER converted to r||s), attached and verified by
# nvsign, with the lines the README gives. A changed file is then refused.
set -euo pipefail
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
win() { printf 'Z:%s' "${1//\//\\}"; }
nvsign() { "$build/wine-run" "$build/bin/nvsign.exe" "$@" | tr -d '\r'; }
ndc="$(win "$work/fetched.ndc")"
printf '[Header]\r\nSerial=7\r\n[rechnung]\r\nDateVer=2\r\n' >"$work/fetched.ndc"

openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$work/ndc-key.pem"
openssl pkey -in "$work/ndc-key.pem" -pubout -outform DER | tail -c 64 | base64 -w0 >"$work/public.txt"
"$build/wine-run" "$build/bin/nvsign.exe" canonical "$ndc" >"$work/canonical"
openssl dgst -sha256 -sign "$work/ndc-key.pem" -out "$work/signature.der" "$work/canonical"
openssl asn1parse -inform DER -in "$work/signature.der" | awk -F: '/INTEGER/ { v = $NF
    while (length(v) < 64) v = "0" v; printf "%s", substr(v, length(v) - 63) }' |
    xxd -r -p | base64 -w0 >"$work/signature.txt"

nvsign attach "$ndc" "$(cat "$work/signature.txt")" "$(cat "$work/public.txt")"
nvsign verify "$(cat "$work/public.txt")" "$ndc"
sed -i 's/DateVer=2/DateVer=3/' "$work/fetched.ndc"
if nvsign verify "$(cat "$work/public.txt")" "$ndc"; then
    echo "nvsign_openssl: a changed file verified" >&2
    exit 1
fi
echo "nvsign_openssl: the openssl signature verified, the changed file was refused"
